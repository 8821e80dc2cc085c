#pragma once

class QWidget;

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// "Print to .BMP File": asks for a file name (proposed "map1.bmp", Windows bitmaps, starting in
/// the folder of the last save, no overwrite prompt) and saves the map view there at twice the size of the
/// map on each side. Cancelling writes nothing; a failure is reported with the file and reason.
void printMapToBitmap(QWidget* parent, mapcontrol::MapControl& map);

} // namespace quillfen
