#include "app/main_window.h"

#include "app/accessible_roles.h"
#include "app/command_line.h"
#include "app/coordinate_readout.h"
#include "app/data_folder_check.h"
#include "app/edge_anchors.h"
#include "app/map_export.h"
#include "app/sample_tooltip.h"
#include "app/table_wait.h"
#include "app/toolbar_icons.h"
#include "catalogue/data_catalogue.h"
#include "catalogue/sample_schema.h"
#include "info_windows/about_window.h"
#include "info_windows/help_window.h"
#include "info_windows/logo.h"
#include "layer_loading/layer_loader.h"
#include "layer_loading/layer_renderers.h"
#include "mapcontrol/map_control.h"
#include "mapcontrol/map_marks.h"
#include "query_builder/query_window.h"
#include "query_builder/search_expression.h"
#include "records/record_grid_model.h"
#include "records/sel_recs_window.h"
#include "selection_run/record_marks.h"
#include "tabledb/table_database.h"
#include "window_parts/caption_button.h"
#include "window_parts/design_font.h"
#include "window_parts/focus_visible.h"
#include "window_parts/twips.h"
#include "window_parts/user_prompts.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace quillfen {
namespace {

const QString kReachName = QStringLiteral("Kesselby");
const QString kNoLayerSelected = QStringLiteral("No Draw/Query Layer(s) Selected");
const QString kNoSelectedFeatures = QStringLiteral("No Selected Features");
constexpr double kZoomOutFactor = 1.25;

// The client area as designed, and the least it may shrink to: the map gives up width until
// the panel would reach the coordinate readout, and height until the panel's rows close up on
// their legends (so that the window fits a screen of 600 pixels' height).
constexpr int kDesignedWidth = 11145;
constexpr int kDesignedHeight = 9090;
constexpr int kLeastWidth = 10080;
constexpr int kLeastHeight = 8490;

constexpr int kTopLeft = EdgeAnchors::Left | EdgeAnchors::Top;
constexpr int kTopSpan = EdgeAnchors::Left | EdgeAnchors::Right | EdgeAnchors::Top;

/// The edges each control keeps its designed distance to when the window is resized: the map
/// takes the space, the panel follows the right edge, the command buttons the bottom and
/// their own side, the labels at the top both sides.
const struct {
    const char* name;
    int edges;
} kControlAnchors[] = {
    {"Toolbar1", kTopLeft},
    {"Label27", kTopSpan},
    {"Image1", kTopLeft},
    {"Label3", kTopSpan},
    {"labXY", kTopLeft},
    {"Map1", kTopSpan | EdgeAnchors::Bottom},
    {"SSTab1", EdgeAnchors::Right | EdgeAnchors::Top | EdgeAnchors::Bottom},
    {"LblPoolName", EdgeAnchors::Left | EdgeAnchors::Bottom},
    {"Label_wait", EdgeAnchors::Left | EdgeAnchors::Bottom},
    {"Command4", EdgeAnchors::Left | EdgeAnchors::Bottom},
    {"Command2", EdgeAnchors::Left | EdgeAnchors::Bottom},
    {"Command3", EdgeAnchors::Left | EdgeAnchors::Bottom},
    {"button_about", EdgeAnchors::Right | EdgeAnchors::Bottom},
    {"button_print", EdgeAnchors::Right | EdgeAnchors::Bottom},
    {"Command1", EdgeAnchors::Right | EdgeAnchors::Bottom},
};

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QFont boldFont(double points) {
    QFont font = designFont();
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

/// Tells one selection from another: its expression, or its polygon's vertices.
QString selectionKey(const SelectionRequest& request) {
    if (!request.graphical)
        return request.expression;
    QStringList vertices;
    for (const QPointF& p : request.polygon.points)
        vertices << QString::number(p.x(), 'g', 17) + ' ' + QString::number(p.y(), 'g', 17);
    return vertices.join(',');
}

/// Position of the layer drawn last in a redraw: the topmost visible one.
int topVisibleLayer(const mapcontrol::MapControl& map) {
    for (int position = 0; position < map.layerCount(); ++position) {
        if (map.layer(position)->visible)
            return position;
    }
    return -1;
}

/// A bold font of `points`, made smaller when needed so that `text` fits `width` pixels.
QFont fittingBoldFont(const QString& text, double points, int width) {
    QFont font = boldFont(points);
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

} // namespace

MainWindow::MainWindow(QWidget* parent, const QString& dataFolder) : QMainWindow(parent) {
    setObjectName("main");
    setWindowTitle(kReachName);
    installAccessibleRoles();
    showFocusFromStart(this);
    data_path = dataFolder.isEmpty() ? defaultDataFolder() : dataFolder;
    dataProblems_ = std::make_unique<DataProblemReport>(data_path);
    // A sample field holding numbers stored as text is still compared as numbers.
    tabledb::Engine::instance().setNumericFields(numericFieldNames());
    // Sample sites are looked up in their companion tables by their site code.
    tabledb::Engine::instance().setIndexedFields({kSiteCodeField});
    createControls();
    // A selection that waits for a table still being read keeps the window repainting.
    tabledb::setLoadWaitHandler(waitForTable);

    // Start-up: nothing requested, the ticked layers loaded, the records window made hidden.
    selection_.queryflag = QueryFlag::None;
    set_draw_layers();
    recordsWindow();
    reportSpellings();
}

MainWindow::~MainWindow() {
    delete sel_recs;
    delete queryWindow_;
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    client->setFont(designFont());
    const QSize designed(twips(kDesignedWidth), twips(kDesignedHeight));
    client->resize(designed);
    client->setMinimumSize(twips(kLeastWidth), twips(kLeastHeight));
    setCentralWidget(client);

    createToolbar();
    Toolbar1->setParent(client);
    Toolbar1->setGeometry(twipsRect(0, 0, 2145, 390));

    QLabel* agency = addLabel(client, "Label27", "Olmsgard", twipsRect(2520, 0, 8175, 375));
    agency->setFont(boldFont(13.5));
    agency->setStyleSheet("color: blue;");
    auto* logo = addLabel(client, "Image1", QString(), twipsRect(120, 480, 1800, 690));
    logo->setPixmap(quillfenLogo(logo->size(), logo->devicePixelRatioF()));
    logo->setAccessibleName("Quillfen logo");
    addLabel(client, "Label3", "Quillfen", twipsRect(1920, 480, 5295, 375))->setFont(boldFont(12));
    labXY = addLabel(client, "labXY", QString(), twipsRect(2760, 960, 3135, 255));

    Map1 = new mapcontrol::MapControl(client);
    Map1->setObjectName("Map1");
    Map1->setGeometry(twipsRect(120, 1320, 6855, 7095));
    Map1->setAccessibleName("Map");
    Map1->installEventFilter(this);
    selectionRun_ = std::make_unique<SelectionRun>(*Map1);
    // A long search lets the window repaint between layers, the wait label and cursor shown.
    selectionRun_->setBetweenLayers(repaintWhileBusy);
    connect(Map1, &mapcontrol::MapControl::mapMouseDown, this, &MainWindow::Map1_MouseDown);
    connect(Map1, &mapcontrol::MapControl::mapMouseMove, this, &MainWindow::Map1_MouseMove);
    connect(Map1, &mapcontrol::MapControl::layerDrawStarting, this, &MainWindow::Map1_LayerDrawStarting);
    connect(Map1, &mapcontrol::MapControl::layerDrawn, this, &MainWindow::after_draw_handler);

    SSTab1 = buildLayerPanel(client, layerSelection, baseBoxes_);
    connectBoxes();

    QLabel* reachName = addLabel(client, "LblPoolName", kReachName, twipsRect(120, 8520, 1695, 615));
    reachName->setFont(fittingBoldFont(kReachName, 24, reachName->width()));
    Label_wait = addLabel(client, "Label_wait", "Drawing ...", twipsRect(120, 8520, 1695, 495));
    Label_wait->setFont(boldFont(12));
    Label_wait->setStyleSheet("color: white; background-color: red;");
    Label_wait->setAlignment(Qt::AlignCenter);
    Label_wait->hide();

    createCommandButtons();
    auto* anchors = new EdgeAnchors(client, designed);
    for (const auto& control : kControlAnchors)
        anchors->anchor(client->findChild<QWidget*>(control.name), control.edges);
    resize(designed);
    setFocusOrder();
}

void MainWindow::setFocusOrder() {
    QList<QWidget*> order;
    for (QAction* button : Toolbar1->actions()) {
        QWidget* tool = Toolbar1->widgetForAction(button);
        // A toolbar's buttons take no focus by themselves; these are the map's tools.
        tool->setFocusPolicy(Qt::TabFocus);
        order << tool;
    }
    order << Map1;
    for (int i = 0; i < SSTab1->count(); ++i)
        order << SSTab1->tabButton(i);
    for (int i = 0; i < SSTab1->count(); ++i) {
        for (QCheckBox* box :
             SSTab1->page(i)->findChildren<QCheckBox*>(QString(), Qt::FindDirectChildrenOnly))
            order << box;
    }
    for (const char* command :
         {"Command4", "Command2", "Command3", "button_about", "button_print", "Command1"})
        order << centralWidget()->findChild<QPushButton*>(command);
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::createToolbar() {
    Toolbar1 = new QToolBar;
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setIconSize(QSize(20, 20));
    Toolbar1->setMovable(false);
    // Five buttons must fit the toolbar's designed width.
    Toolbar1->setStyleSheet(
        "QToolBar { spacing: 0px; padding: 0px; } QToolButton { padding: 1px; margin: 0px; }");
    auto addButton = [this](const QString& key, const QIcon& icon, bool toggle) {
        QAction* button = Toolbar1->addAction(icon, key);
        button->setToolTip(key);
        button->setCheckable(toggle);
        return button;
    };
    zoomInButton_ = addButton("Zoom In", zoomInIcon(), true);
    zoomOutButton_ = addButton("Zoom Out", zoomOutIcon(), false);
    panButton_ = addButton("Pan", panIcon(), true);
    fullExtentButton_ = addButton("Full Extent", fullExtentIcon(), false);
    helpButton_ = addButton("Help", helpIcon(), false);
    // "Zoom In" and "Pan" are grouped: pressing one releases the other; both may be up.
    auto* tools = new QActionGroup(Toolbar1);
    tools->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    tools->addAction(zoomInButton_);
    tools->addAction(panButton_);
    connect(Toolbar1, &QToolBar::actionTriggered, this, &MainWindow::Toolbar1_ButtonClick);
}

void MainWindow::createCommandButtons() {
    struct Command {
        const char* name;
        const char* caption;
        int left;
        void (MainWindow::*handler)();
    };
    const Command commands[] = {
        {"Command4", "Select Graphically", 2040, &MainWindow::Command4_Click},
        {"Command2", "Select Logically", 3240, &MainWindow::Command2_Click},
        {"Command3", "View Records", 4440, &MainWindow::Command3_Click},
        {"button_about", "About", 7920, &MainWindow::button_about_Click},
        {"button_print", "Print to .BMP File", 9000, &MainWindow::button_print_Click},
        {"Command1", "Exit", 10080, &MainWindow::Command1_Click},
    };
    for (const Command& command : commands) {
        auto* button = new CaptionButton(command.caption, centralWidget());
        button->setObjectName(command.name);
        button->setGeometry(twipsRect(command.left, 8520, 975, 495));
        connect(button, &QPushButton::clicked, this, command.handler);
    }
}

void MainWindow::connectBoxes() {
    for (SampleKind kind : allSampleKinds()) {
        for (QCheckBox* box : layerSelection.boxes(kind))
            connect(box, &QCheckBox::clicked, this, [this, kind] { collectLayers(kind); });
    }
    connect(baseBoxes_.check_land_water, &QCheckBox::clicked, this, &MainWindow::check_land_water_Click);
    connect(baseBoxes_.Check_landcover, &QCheckBox::clicked, this, &MainWindow::Check_landcover_Click);
    connect(baseBoxes_.chkStructures, &QCheckBox::clicked, this, &MainWindow::chkStructures_Click);
    connect(baseBoxes_.Check30, &QCheckBox::clicked, this, &MainWindow::Check30_Click);
    connect(baseBoxes_.Check_drg, &QCheckBox::clicked, this, &MainWindow::Check_drg_Click);
}

// Layers ------------------------------------------------------------------------------------

void MainWindow::set_draw_layers() {
    DrawLayerChoice choice;
    choice.quadrangle = baseBoxes_.Check_drg->isChecked();
    choice.landWater = baseBoxes_.check_land_water->isChecked();
    choice.landCover = baseBoxes_.Check_landcover->isChecked();
    choice.structures = baseBoxes_.chkStructures->isChecked();
    choice.riverMiles = baseBoxes_.Check30->isChecked();
    choice.sampleLayers = layerSelection.tickedLayerCodes();
    QVector<DataProblem> problems;
    quillfen::rebuildLayerStack(*Map1, data_path, choice, &problems);
    reportDataFault(dataProblems_->newProblemsText(problems));
    describeMapLayers();
    // Built while the window waits for the user, not by the first selection.
    QTimer::singleShot(0, this, [this] { selectionRun_->prepareSiteIndexes(); });
}

void MainWindow::describeMapLayers() {
    // The base layers by the captions of their boxes; the land/water coverage is drawn either
    // as land and water or as land cover classes.
    const QCheckBox* coverage =
        baseBoxes_.Check_landcover->isChecked() ? baseBoxes_.Check_landcover : baseBoxes_.check_land_water;
    const QHash<QString, QString> baseCaptions = {{kOutlineLayer, "Reach outline"},
                                                  {kLandCoverLayer, coverage->text()},
                                                  {kStructuresLayer, baseBoxes_.chkStructures->text()},
                                                  {kRiverMilesLayer, baseBoxes_.Check30->text()},
                                                  {kQuadrangleLayer, baseBoxes_.Check_drg->text()}};
    QStringList shown;
    for (int position = 0; position < Map1->layerCount(); ++position) {
        const mapcontrol::LayerPtr layer = Map1->layer(position);
        SampleKind kind;
        SamplingPeriod period;
        if (!layer->visible)
            continue;
        if (samplePeriodOfLayer(layer->name(), &kind, &period))
            shown << period.caption + ' ' + kindName(kind);
        else
            shown << baseCaptions.value(layer->name().toLower(), layer->name());
    }
    // The reach outline is in the stack twice: the one of start-up stays at the bottom.
    shown.removeDuplicates();
    Map1->setAccessibleDescription(shown.isEmpty() ? QStringLiteral("No layers shown")
                                                   : "Layers shown: " + shown.join(", "));
}

void MainWindow::reportSpellings() {
    const QStringList spellings = spellingNotes(data_path);
    if (!spellings.isEmpty())
        reportDataFault(
            QStringLiteral("Some files of the data folder %1 are present in more than one spelling: %2.")
                .arg(QDir::toNativeSeparators(data_path), spellings.join("; ")));
}

void MainWindow::reportDataFault(const QString& text) {
    if (text.isEmpty())
        return;
    // Shown after the current event (and at start-up, after the window is made).
    QTimer::singleShot(0, this, [this, text] { UserPrompts::current().message(this, text); });
}

void MainWindow::reportSelectionDataFaults(const SelectionRequest& request) {
    const tabledb::Database database = tabledb::Engine::instance().open(data_path);
    QVector<DataProblem> faults;
    QStringList unsearched;
    for (const QString& code : request.periodCodes) {
        const QString layer = layerCode(request.kind, code);
        if (!Map1->layerNamed(layer)) {
            unsearched << layer;
            continue;
        }
        const QString companion = companionTable(request.kind, code);
        const QString table = companion.isEmpty() ? layer : companion;
        for (const QString& note : database.notesOf(table))
            faults.append({table + ".dbf", note, false});
    }
    reportDataFault(dataProblems_->newProblemsText(faults));
    // Before a polygon is drawn nothing is searched, so nothing is left out.
    if (request.graphical && request.polygon.isNull())
        return;
    reportDataFault(dataProblems_->selectionGapText(selectionKey(request), unsearched));
}

void MainWindow::collectLayers(SampleKind kind) {
    const QString kindBefore = layerSelection.component;
    if (layerSelection.collectLayers(kind)) {
        selection_.queryflag = QueryFlag::None;
        if (queryWindow_) {
            if (auto* valueBox = queryWindow_->findChild<QComboBox*>("Combo1")) {
                valueBox->clear();
                valueBox->clearEditText();
            }
        }
    }
    // A condition names fields of the kind it was built on: it does not outlive that kind.
    if (layerSelection.component != kindBefore)
        submittedExpression_.clear();
    if (layerSelection.component == QString(kindLetter(kind))) {
        set_draw_layers();
        loadTablesAhead(kind);
    }
    // With no selection requested, or no layer to show one on, the map shows none.
    if (!selection_.requested() || !layerSelection.query_layer_selected())
        setWindowTitle(kReachName);
    discardRecordsWindow();
}

void MainWindow::loadTablesAhead(SampleKind kind) {
    tabledb::Engine::instance().open(data_path).loadAhead(
        tablesSearched(kind, layerSelection.selectionList()));
}

void MainWindow::check_land_water_Click() {
    baseBoxes_.Check_landcover->setChecked(false);
    set_draw_layers();
}

void MainWindow::Check_landcover_Click() {
    baseBoxes_.check_land_water->setChecked(false);
    set_draw_layers();
}

void MainWindow::chkStructures_Click() {
    set_draw_layers();
}

void MainWindow::Check_drg_Click() {
    set_draw_layers();
}

void MainWindow::Check30_Click() {
    set_draw_layers();
    render_miles_text(*Map1, baseBoxes_.Check30->isChecked());
}

// Records window ------------------------------------------------------------------------------

SelRecsWindow& MainWindow::recordsWindow() {
    if (!sel_recs) {
        sel_recs = new SelRecsWindow([this] { return layerSelection.component; });
        // The records selected in the grid are marked on the map; the one chosen is shown.
        connect(sel_recs, &SelRecsWindow::recordsSelected, this,
                [this](const QVector<RowSource>& records) { markRecords(*Map1, sel_recs->grid(), records); });
        connect(sel_recs, &SelRecsWindow::recordChosen, this,
                [this](RowSource record) { showRecord(*Map1, sel_recs->grid(), record); });
        showFocusFromStart(sel_recs);
    }
    return *sel_recs;
}

void MainWindow::discardRecordsWindow() {
    if (sel_recs) {
        Map1->setMarkedFeatures({});
        sel_recs->hide();
        sel_recs->deleteLater();
        sel_recs = nullptr;
    }
}

// Command buttons -----------------------------------------------------------------------------

void MainWindow::Command1_Click() {
    discardRecordsWindow();
    delete queryWindow_;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    discardRecordsWindow();
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

void MainWindow::Command2_Click() {
    if (!layerSelection.query_layer_selected()) {
        UserPrompts::current().message(this, kNoLayerSelected);
        return;
    }
    const ShownSelection before = shownSelection();
    delete queryWindow_;
    queryWindow_ = new QueryWindow(*this, this);
    // A submitted window stays, hidden. A window closed without a successful submit is
    // discarded with its condition, and the selection shown before it opened comes back,
    // also after a submit whose checks failed had already emptied the grid and the caption.
    if (queryWindow_->exec() != QDialog::Accepted) {
        delete queryWindow_;
        restoreSelection(before);
    }
}

MainWindow::ShownSelection MainWindow::shownSelection() const {
    return {selection_, submittedExpression_, strSelRecordsTitle, windowTitle()};
}

void MainWindow::restoreSelection(const ShownSelection& shown) {
    const bool changed =
        selection_.query_type != shown.selection.query_type || windowTitle() != shown.caption;
    selection_ = shown.selection;
    submittedExpression_ = shown.submittedExpression;
    strSelRecordsTitle = shown.strSelRecordsTitle;
    setWindowTitle(shown.caption);
    showArmedTool();
    // The grid was emptied by the failed submit: the selection's run fills it again.
    if (changed && selection_.requested())
        Map1->redrawAll();
}

void MainWindow::Command3_Click() {
    if (!layerSelection.query_layer_selected()) {
        UserPrompts::current().message(this, kNoLayerSelected);
        return;
    }
    if (!selection_.requested()) {
        UserPrompts::current().message(this, kNoSelectedFeatures);
        return;
    }
    SelRecsWindow& window = recordsWindow();
    window.show();
    window.raise();
    window.setWindowTitle(strSelRecordsTitle);
}

void MainWindow::Command4_Click() {
    recordsWindow().grid().clear();
    setWindowTitle(kReachName);
    if (!layerSelection.query_layer_selected()) {
        UserPrompts::current().message(this, kNoLayerSelected);
        return;
    }
    selection_.queryflag = QueryFlag::Requested;
    zoomInButton_->setChecked(false);
    zoomOutButton_->setChecked(false);
    selection_.query_type = QueryType::GraphicalArmed;
    submittedExpression_.clear();
    showArmedTool();
}

void MainWindow::button_about_Click() {
    showAboutWindow(this);
}

void MainWindow::button_print_Click() {
    printMapToBitmap(this, *Map1);
}

// Query hand-off ----------------------------------------------------------------------------

void MainWindow::beginSubmit() {
    recordsWindow().grid().clear();
    setWindowTitle(kReachName);
    selection_.query_type = QueryType::Logical;
    showArmedTool();
}

void MainWindow::acceptSubmit() {
    SampleKind kind;
    submittedExpression_.clear();
    if (kindFromLetter(layerSelection.component, &kind))
        submittedExpression_ = buildSearchExpression(kind, queryWindow_->condition);
    selection_.queryflag = QueryFlag::Requested;
    Map1->redrawAll();
}

// Toolbar and map -----------------------------------------------------------------------------

void MainWindow::Toolbar1_ButtonClick(QAction* button) {
    if (button == zoomInButton_) {
        panButton_->setChecked(false);
    } else if (button == zoomOutButton_) {
        panButton_->setChecked(false);
        Map1->setViewBounds(Map1->viewBounds().scaled(kZoomOutFactor));
    } else if (button == panButton_) {
        zoomInButton_->setChecked(false);
    } else if (button == fullExtentButton_) {
        Map1->setViewBounds(Map1->wholeBounds());
    } else if (button == helpButton_) {
        showHelpWindow(this);
    }
    showArmedTool();
}

void MainWindow::showArmedTool() {
    if (selection_.query_type == QueryType::GraphicalArmed || zoomInButton_->isChecked())
        Map1->setCursor(Qt::CrossCursor);
    else if (panButton_->isChecked())
        Map1->setCursor(Qt::OpenHandCursor);
    else
        Map1->unsetCursor();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Map1 || event->type() != QEvent::ToolTip)
        return QMainWindow::eventFilter(watched, event);
    // Reading a site's dates may wait for its table, repainting meanwhile: one tooltip at a time.
    if (showingTooltip_)
        return true;
    showingTooltip_ = true;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = sampleTooltip(*Map1, help->pos(), data_path);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, Map1);
    showingTooltip_ = false;
    return true;
}

void MainWindow::Map1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
    if (selection_.query_type == QueryType::GraphicalArmed) {
        // The armed graphical selection takes this mouse-down: the polygon ends at a
        // double-click, the redraw it raises runs the search, then the selection is drawn.
        selection_.query_polygon = mapcontrol::Shape();
        Map1->dragPolygon([this](const mapcontrol::Shape& polygon) { selectInside(polygon); });
        return;
    }
    if (zoomInButton_->isChecked())
        Map1->dragZoomIn();
    else if (panButton_->isChecked())
        Map1->dragPan();
}

void MainWindow::selectInside(const mapcontrol::Shape& polygon) {
    selection_.query_polygon = polygon;
    Map1->redrawAll();
    selection_.query_type = QueryType::Graphical;
    showArmedTool();
}

void MainWindow::Map1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPoint position) {
    labXY->setText(coordinateReadout(Map1->screenToMap(position)));
}

void MainWindow::Map1_LayerDrawStarting(int position) {
    if (position == Map1->layerCount() - 1)
        selectionRun_->beginRedraw();
    Label_wait->show();
    Label_wait->repaint();
}

// Selection run ------------------------------------------------------------------------------

void MainWindow::after_draw_handler(int position) {
    SampleKind kind;
    const bool logical = selection_.query_type == QueryType::Logical;
    const bool conditionKnown = !logical || !submittedExpression_.isEmpty();
    if (selection_.requested() && conditionKnown && kindFromLetter(layerSelection.component, &kind)) {
        SelectionRequest request;
        request.kind = kind;
        request.periodCodes = layerSelection.selectionList();
        request.graphical = !logical;
        request.polygon = selection_.query_polygon;
        if (!request.graphical)
            request.expression = submittedExpression_;
        request.dataPath = data_path;
        const SelectionOutcome outcome =
            selectionRun_->run(request, recordsWindow().grid(), position == topVisibleLayer(*Map1));
        if (outcome.searched) {
            strSelRecordsTitle = outcome.title;
            setWindowTitle(kReachName + " - " + strSelRecordsTitle);
            // An open records window names the selection it now lists.
            if (sel_recs && sel_recs->isVisible())
                sel_recs->setWindowTitle(strSelRecordsTitle);
        }
        reportSelectionDataFaults(request);
        if (!outcome.error.isEmpty())
            reportSearchFailure(outcome.error);
    }
    Label_wait->hide();
}

void MainWindow::reportSearchFailure(const QString& message) {
    // Cancel the request so later redraws do not repeat the failure, and show that no
    // selection is shown; tell the user once the redraw has finished.
    selection_.queryflag = QueryFlag::None;
    setWindowTitle(kReachName);
    QTimer::singleShot(0, this, [this, message] { UserPrompts::current().message(this, message); });
}

} // namespace quillfen
