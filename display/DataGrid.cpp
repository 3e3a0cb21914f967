// The list grid and its two-way link with the data set's current row.
#include "display/DataGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QResizeEvent>

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
    model->setSource(source);
}

void DataGrid::setDataSource(store::DataSource* source)
{
    if (m_model)
        m_model->setSource(source);
}

void DataGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        emit resized();
}

void DataGrid::followDataSet(int row)
{
    ScopedFlag following(m_following);
    if (row < 0) {
        selectionModel()->clear();
    } else {
        QModelIndex index = m_model->index(row, 0);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
}

void DataGrid::userMovedTo(int row)
{
    // A row chosen by the user is a command: what it displays may fail and is reported.
    runCommand(m_platform, [&] { m_model->moveTo(row); });
}
