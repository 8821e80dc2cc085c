#pragma once

class GDALDriver;

namespace tabledb {

/// The GDAL driver of the folder's vector datasets: point, line and polygon files (.shp) with
/// their dBASE attribute tables (.dbf). Found by the file extension it handles; nullptr when
/// GDAL was built without it.
GDALDriver* shapeDriver();

} // namespace tabledb
