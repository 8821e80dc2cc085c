#pragma once

#include <QString>

#include <gdal_priv.h>

namespace tabledb {

/// Makes GDAL ready for the program's only formats, once per process: registers the shapefile
/// and GeoTIFF drivers, keeps every file access off the network and writes nothing beside the
/// files read (no auxiliary metadata files).
void prepareGdal();

/// Opens `path` read-only with the one driver named (`GDAL_OF_VECTOR` or `GDAL_OF_RASTER` in
/// `kind`), never with another format's driver whatever the file holds. On failure nullptr,
/// and `failure` holds GDAL's first complaint (empty when it gave none).
GDALDatasetUniquePtr openWithDriver(const QString& path, const char* driver, unsigned kind, QString* failure);

/// Collects the first failure that GDAL reports on this thread while it lives, instead of
/// printing it.
class GdalFailureCapture {
public:
    GdalFailureCapture();
    ~GdalFailureCapture();
    GdalFailureCapture(const GdalFailureCapture&) = delete;
    GdalFailureCapture& operator=(const GdalFailureCapture&) = delete;

    bool failed() const { return !message_.isNull(); }
    QString message() const { return message_; }
    /// How many failures were reported.
    int count() const { return count_; }

private:
    static void CPL_STDCALL handle(CPLErr level, CPLErrorNum, const char* message);
    QString message_;
    int count_ = 0;
};

} // namespace tabledb
