#pragma once

#include "layer_loading/layer_loader.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace quillfen {

/// Turns faults of the data folder into the texts shown to the user, each fault once per run
/// of the program: a layer left off the map, a layer drawn without its faulty part, a table
/// whose field is stored in an unexpected type, a selection that could not search a period.
class DataProblemReport {
public:
    explicit DataProblemReport(const QString& dataFolder) : dataFolder_(dataFolder) {}

    /// The message for those of `problems` not reported before (empty when none is new).
    QString newProblemsText(const QVector<DataProblem>& problems);

    /// The message for a selection that left out the layers `unsearched` (their data could not
    /// be read); empty when none was left out or the same selection was reported already.
    QString selectionGapText(const QString& selection, const QStringList& unsearched);

private:
    QString dataFolder_;
    QVector<DataProblem> reported_;
    QString lastGap_;
};

} // namespace quillfen
