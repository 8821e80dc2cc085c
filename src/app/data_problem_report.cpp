#include "app/data_problem_report.h"

#include <QDir>

namespace quillfen {
namespace {

QString listed(const QVector<DataProblem>& problems) {
    QStringList items;
    for (const DataProblem& problem : problems)
        items << QStringLiteral("%1 (%2)").arg(problem.file, problem.reason);
    return items.join(QStringLiteral("; "));
}

} // namespace

QString DataProblemReport::newProblemsText(const QVector<DataProblem>& problems) {
    QVector<DataProblem> leftOff;
    QVector<DataProblem> partial;
    for (const DataProblem& problem : problems) {
        if (reported_.contains(problem))
            continue;
        reported_.append(problem);
        (problem.leftOff ? leftOff : partial).append(problem);
    }
    const QString folder = QDir::toNativeSeparators(dataFolder_);
    QStringList paragraphs;
    if (!leftOff.isEmpty())
        paragraphs << QStringLiteral("Some map data could not be read from the data folder %1: %2. "
                                     "Those layers are left off the map.")
                          .arg(folder, listed(leftOff));
    if (!partial.isEmpty())
        paragraphs
            << QStringLiteral("Some data in the data folder %1 is faulty: %2.").arg(folder, listed(partial));
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString DataProblemReport::selectionGapText(const QString& selection, const QStringList& unsearched) {
    if (unsearched.isEmpty())
        return QString();
    const QString gap = selection + QLatin1Char('\n') + unsearched.join(QLatin1Char(','));
    if (gap == lastGap_)
        return QString();
    lastGap_ = gap;
    return QStringLiteral("The selection leaves out %1: the data could not be read from the data folder %2. "
                          "Only the records of the other periods are listed.")
        .arg(unsearched.join(QStringLiteral(", ")), QDir::toNativeSeparators(dataFolder_));
}

} // namespace quillfen
