#include "tabledb/gdal_access.h"

#include "tabledb/data_file_names.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_frmts.h>
#include <ogrsf_frmts.h>

#include <mutex>

namespace tabledb {

namespace {

/// Settings that keep GDAL to the local files it is asked for.
struct ConfigSetting {
    const char* key;
    const char* value;
};
constexpr ConfigSetting kLocalOnlySettings[] = {
    // Remote file systems (/vsicurl/ and its kin) take only names with an allowed extension;
    // nothing ends like this, so no remote file ever exists.
    {"CPL_VSIL_CURL_ALLOWED_EXTENSIONS", ".no-remote-files"},
    // No .aux.xml written beside the data, nor read from it.
    {"GDAL_PAM_ENABLED", "NO"},
};

} // namespace

void prepareGdal() {
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        for (const ConfigSetting& setting : kLocalOnlySettings)
            CPLSetConfigOption(setting.key, setting.value);
        GDALRegister_GTiff();
        RegisterOGRShape();
        installCaseFreeFileSystem();
    });
}

GDALDatasetUniquePtr openWithDriver(const QString& path, const char* driver, unsigned kind,
                                    QString* failure) {
    prepareGdal();
    const GdalOpening opening = gdalOpening(path);
    if (!opening.problem.isEmpty()) {
        if (failure)
            *failure = opening.problem;
        return nullptr;
    }
    const char* const allowed[] = {driver, nullptr};
    GdalFailureCapture capture;
    GDALDatasetUniquePtr dataset(
        GDALDataset::Open(opening.name.toUtf8().constData(), kind | GDAL_OF_READONLY, allowed));
    if (!dataset && failure)
        *failure = capture.message();
    return dataset;
}

GdalFailureCapture::GdalFailureCapture() {
    CPLPushErrorHandlerEx(&GdalFailureCapture::handle, this);
}

GdalFailureCapture::~GdalFailureCapture() {
    CPLPopErrorHandler();
}

void CPL_STDCALL GdalFailureCapture::handle(CPLErr level, CPLErrorNum, const char* message) {
    auto* self = static_cast<GdalFailureCapture*>(CPLGetErrorHandlerUserData());
    if (level < CE_Failure)
        return;
    ++self->count_;
    if (self->message_.isNull())
        self->message_ = QString::fromUtf8(message ? message : "");
}

} // namespace tabledb
