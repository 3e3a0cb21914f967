// The list grid and its two-way link with the data set's current row.
#include "display/DataGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QResizeEvent>
#include <algorithm>

#include "display/ScopedFlag.h"
#include "platform/Platform.h"

DataGrid::DataGrid(Platform& platform, QWidget* parent) : QTableView(parent), m_platform(platform)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void DataGrid::setColumns(std::vector<GridColumn> columns, const QFont& rowFont, const QColor& rowColour)
{
    auto* model = new DataSourceModel(std::move(columns), this);
    model->setCellFont(rowFont);
    model->setCellColour(rowColour);
    setGridModel(model);
}

void DataGrid::setGridModel(DataSourceModel* model)
{
    store::DataSource* source = dataSource();
    model->setParent(this);
    QAbstractItemModel* previous = QTableView::model();
    setModel(model);
    if (previous && previous != model)
        previous->deleteLater();
    m_model = model;
    for (std::size_t c = 0; c < model->columns().size(); ++c)
        setColumnWidth(static_cast<int>(c), model->columns()[c].width);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(model->cellFont()).height() + 4);

    connect(model, &DataSourceModel::currentRowChanged, this, &DataGrid::followDataSet);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (!m_following && current.isValid())
                    userMovedTo(current.row());
            });
    // The highlight is the data set's current row and nothing else: a row the view selects on
    // its own becomes the current row, and a selection cleared (Ctrl+click) is put back on it.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection&, const QItemSelection&) {
                if (m_following)
                    return;
                const QModelIndexList rows = selectionModel()->selectedRows();
                if (rows.size() == 1 && m_model && rows.front().row() != m_model->currentRow())
                    userMovedTo(rows.front().row());
                else
                    keepHighlightOnCurrentRow();
            });
    model->setSource(source);
}

void DataGrid::setDataSource(store::DataSource* source)
{
    if (m_model)
        m_model->setSource(source);
}

bool DataGrid::viewportEvent(QEvent* event)
{
    const bool handled = QTableView::viewportEvent(event);
    if (event->type() == QEvent::Resize && !m_fitting) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            emit resized();
    }
    return handled;
}

void DataGrid::fitLastColumn()
{
    const int last = m_model ? static_cast<int>(m_model->columns().size()) - 1 : -1;
    if (last < 0)
        return;
    ScopedFlag fitting(m_fitting);
    int others = 0;
    for (int c = 0; c < last; ++c)
        others += columnWidth(c);
    setColumnWidth(last, std::max(0, viewport()->width() - others));
}

void DataGrid::followDataSet(int row)
{
    ScopedFlag following(m_following);
    if (row < 0) {
        selectionModel()->clear();
    } else {
        QModelIndex index = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        // The row the user has just chosen is not scrolled here: a key's move is scrolled by the
        // view itself, and scrolling under a mouse press (a click on the partly visible bottom
        // row) would make the press select the row that came under the pointer.
        if (row != m_userRow)
            scrollTo(index);
    }
}

void DataGrid::keepHighlightOnCurrentRow()
{
    const int current = m_model ? m_model->currentRow() : -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    const bool onCurrent = current < 0 ? rows.isEmpty() : rows.size() == 1 && rows.front().row() == current;
    if (!onCurrent || selectionModel()->currentIndex().row() != current)
        followDataSet(current);
}

void DataGrid::userMovedTo(int row)
{
    // A row chosen by the user is a command: what it displays may fail and is reported.
    m_userRow = row;
    runCommand(m_platform, [&] { m_model->moveTo(row); });
    m_userRow = -1;
    // A move the data set refused leaves the highlight on the row it kept.
    keepHighlightOnCurrentRow();
}
