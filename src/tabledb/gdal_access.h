#pragma once

#include <QString>

#include <gdal_priv.h>

namespace tabledb {

/// Makes GDAL ready for the program's only formats, once per process: registers the shapefile
/// and GeoTIFF drivers, keeps every file access off the network, writes nothing beside the
/// files read (no auxiliary metadata files) and installs the file system that matches names
/// without regard to case. GDAL's settings and tables take no lock: the first call is made on
/// the window's thread before any loading thread starts (see prepareEngine).
void prepareGdal();

/// Opens `path` read-only with the one driver named (`GDAL_OF_VECTOR` or `GDAL_OF_RASTER` in
/// `kind`), never with another format's driver whatever the file holds, reading exactly the
/// companion files that matchDataFile chooses. Refuses, without opening anything, a path that
/// is, or whose companions are, not regular files. On failure nullptr, and `failure` holds the
/// reason: that refusal or GDAL's first complaint (empty when it gave none).
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
