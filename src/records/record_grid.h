#pragma once

#include <QTableView>

namespace quillfen {

class RecordGridModel;

/// The records grid (MSFlexGrid1): a table view over a RecordGridModel. Row 0 and column 0 are
/// drawn as fixed heading cells (grey, row 0 in bold) and cannot be selected; column widths
/// follow the model's widths in twips; every row has the same fixed height, so that filling
/// the grid never measures row contents.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    /// Width of a column the model gives no width, in twips.
    static constexpr int kDefaultColWidthTwips = 1200;

    /// Shows `model`, which the caller owns and keeps alive as long as the grid.
    explicit RecordGrid(RecordGridModel* model, QWidget* parent = nullptr);

private:
    void applyColWidth(int col);
    void applyAllColWidths();

    RecordGridModel* m_model;
};

} // namespace quillfen
