#include "tabledb/shape_driver.h"

#include "tabledb/gdal_access.h"

#include <gdal_priv.h>

#include <cstring>

namespace tabledb {
namespace {

bool handlesExtension(GDALDriver* driver, const char* extension) {
    if (!driver->GetMetadataItem(GDAL_DCAP_VECTOR))
        return false;
    const char* single = driver->GetMetadataItem(GDAL_DMD_EXTENSION);
    if (single && std::strcmp(single, extension) == 0)
        return true;
    const char* several = driver->GetMetadataItem(GDAL_DMD_EXTENSIONS);
    if (!several)
        return false;
    const CPLStringList list(CSLTokenizeString(several));
    return list.FindString(extension) >= 0;
}

} // namespace

GDALDriver* shapeDriver() {
    static GDALDriver* found = [] {
        prepareGdal();
        GDALDriverManager* manager = GetGDALDriverManager();
        for (int i = 0; i < manager->GetDriverCount(); ++i) {
            GDALDriver* driver = manager->GetDriver(i);
            if (handlesExtension(driver, "shp"))
                return driver;
        }
        return static_cast<GDALDriver*>(nullptr);
    }();
    return found;
}

} // namespace tabledb
