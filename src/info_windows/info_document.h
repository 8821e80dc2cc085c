#pragma once

#include <QString>

// Reads one of the fixed HTML documents compiled into the program (a ":/info_windows/..." resource)
// and fills in the contact line wherever the document says {{contact}}. An unknown resource gives an
// empty text.
QString infoDocument(const QString& resourcePath);
