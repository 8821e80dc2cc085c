#pragma once

// The application (folder app): the main window, its panel, toolbar and readout, the command
// line and the data folder check. Uses every folder before it.

#include "app/data_problem_report.h"
#include "app/selection_state.h"
#include "layer_boxes/layer_panel.h"
#include "layer_boxes/layer_selection.h"
#include "mapcontrol/map_types.h"
#include "query_builder/query_host.h"
#include "query_builder/query_window.h"
#include "query_builder/search_expression.h"
#include "records/sel_recs_window.h"
#include "selection_run/selection_run.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QToolBar;

namespace mapcontrol {
class MapControl;
}

namespace quillfen {

/// The main window (form "main", caption "Kesselby"): the map, the tabbed layer boxes, the
/// toolbar and the command buttons. The selection state is its own: the query window hands
/// a submitted query over through QueryHost, and others read it.
///
/// The constructor performs the start-up: no selection requested, the layers of the ticked
/// boxes loaded from the data folder (by default the one beside the executable), the records
/// window created hidden, the "Base Map" tab in front. Faults of the data folder are reported
/// once each, when the layer or table is first used.
class MainWindow : public QMainWindow, public QueryHost {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr, const QString& dataFolder = QString());
    ~MainWindow() override;

    using QueryFlag = SelectionState::QueryFlag;
    using QueryType = SelectionState::QueryType;
    /// Whether a logical or graphical selection is requested.
    QueryFlag queryflag() const { return selection_.queryflag; }
    /// How the requested selection searches (armed: "Select Graphically" awaits its polygon).
    QueryType query_type() const { return selection_.query_type; }
    /// The polygon of the last graphical selection; a null shape before any.
    const mapcontrol::Shape& query_polygon() const { return selection_.query_polygon; }
    /// Title of the records window, e.g. "Selected Records: Graphical Query".
    QString strSelRecordsTitle;
    /// The data folder: the one given at construction, else "data" beside the program (or,
    /// when there is none, the installed demonstration data).
    QString data_path;
    /// The sample boxes, the draw/query list and `component`.
    LayerSelection layerSelection;

    mapcontrol::MapControl& map() const { return *Map1; }
    /// The records window, created (hidden and empty) when it does not exist.
    SelRecsWindow& recordsWindow();
    /// The query window of the last "Select Logically", while it exists.
    QueryWindow* queryWindow() const { return queryWindow_; }

    // QueryHost: the hand-off of "Submit Query".
    QString component() const override { return layerSelection.component; }
    void beginSubmit() override;
    void acceptSubmit() override;

    /// Rebuilds the map's layers from the ticked boxes and redraws the current view.
    void set_draw_layers();
    /// Runs the graphical selection that "Select Graphically" armed with `polygon` (map units)
    /// as its polygon, as the polygon drawn on the map does: the redraw searches inside it.
    void selectInside(const mapcontrol::Shape& polygon);

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Shows the tooltip of the sample points under the pointer on the map.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createToolbar();
    void createCommandButtons();
    void connectBoxes();
    /// Tab goes from the toolbar to the map, the tabs, the boxes of the page in front, then the
    /// command buttons from left to right.
    void setFocusOrder();
    /// The map's cursor shows the tool a mouse-down on it will run: a cross for the polygon of
    /// an armed graphical selection and for "Zoom In", an open hand for "Pan".
    void showArmedTool();
    /// The map's accessible description names the layers it shows, top first.
    void describeMapLayers();
    /// Tells the user, once the current event is handled, of a fault of the data folder.
    void reportDataFault(const QString& text);
    /// Tells the user which spelling is read of each file present in several.
    void reportSpellings();
    /// Reports the faults of the tables and layers the last selection used for the first time,
    /// and the periods it could not search.
    void reportSelectionDataFaults(const SelectionRequest& request);

    // Command buttons.
    void Command1_Click(); // Exit
    void Command2_Click(); // Select Logically
    void Command3_Click(); // View Records
    void Command4_Click(); // Select Graphically
    void button_about_Click();
    void button_print_Click();

    // Toolbar and map.
    void Toolbar1_ButtonClick(QAction* button);
    void Map1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint position);
    void Map1_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, QPoint position);
    void Map1_LayerDrawStarting(int position);
    void after_draw_handler(int position);

    // Layer boxes.
    void collectLayers(SampleKind kind);
    /// Starts reading the tables that selections on the ticked boxes of `kind` will read.
    void loadTablesAhead(SampleKind kind);
    void check_land_water_Click();
    void Check_landcover_Click();
    void chkStructures_Click();
    void Check30_Click();
    void Check_drg_Click();

    void reportSearchFailure(const QString& message);
    void discardRecordsWindow();

    /// The selection as the map, the caption and the grid show it: what a query window closed
    /// without a successful "Submit Query" leaves in place.
    struct ShownSelection {
        SelectionState selection;
        QString submittedExpression;
        QString strSelRecordsTitle;
        QString caption;
    };
    ShownSelection shownSelection() const;
    void restoreSelection(const ShownSelection& shown);

    SelectionState selection_;
    mapcontrol::MapControl* Map1 = nullptr;
    TabPanel* SSTab1 = nullptr;
    BaseMapBoxes baseBoxes_;
    QToolBar* Toolbar1 = nullptr;
    QAction* zoomInButton_ = nullptr;
    QAction* zoomOutButton_ = nullptr;
    QAction* panButton_ = nullptr;
    QAction* fullExtentButton_ = nullptr;
    QAction* helpButton_ = nullptr;
    QLabel* labXY = nullptr;
    QLabel* Label_wait = nullptr;
    QPointer<SelRecsWindow> sel_recs;
    QPointer<QueryWindow> queryWindow_;
    std::unique_ptr<SelectionRun> selectionRun_;
    std::unique_ptr<DataProblemReport> dataProblems_;
    // The search expression of the last successful "Submit Query", built for the kind it was
    // submitted on: every redraw of a logical selection re-runs it, also after a later query
    // window was cancelled. Empty when no condition is kept: a change of kind and "Select
    // Graphically" forget it.
    QString submittedExpression_;
    bool showingTooltip_ = false;
};

} // namespace quillfen
