// A list grid over a data source: whole-row selection, read-only, the selection following the
// data set's current row and a row the user selects becoming the data set's current row.
#pragma once

#include <QTableView>
#include <vector>

#include "display/DataSourceModel.h"

class Platform;

class DataGrid : public QTableView {
    Q_OBJECT

public:
    // platform reports what fails when the user moves to a row.
    explicit DataGrid(Platform& platform, QWidget* parent = nullptr);

    // The grid's columns (titles and design widths), its rows drawn in rowFont and rowColour.
    void setColumns(std::vector<GridColumn> columns, const QFont& rowFont, const QColor& rowColour);
    // The same with a model of the caller's (an editable grid's); the grid takes it over.
    void setGridModel(DataSourceModel* model);
    // The data source whose data set the grid shows (nullptr: none).
    void setDataSource(store::DataSource* source);

    DataSourceModel* dataModel() const { return m_model; }
    store::DataSource* dataSource() const { return m_model ? m_model->source() : nullptr; }
    // The bound data set when it is open, else nullptr.
    store::DataSet* dataSet() const { return m_model ? m_model->activeDataSet() : nullptr; }

    // Sets the last column to the width its rows have left beside the other columns, so that
    // it ends at the grid's right edge, inside the vertical scroll bar when one shows.
    void fitLastColumn();

signals:
    // The width the rows are drawn in changed: the grid's own, or a vertical scroll bar came
    // or went (the last column is refitted then).
    void resized();

protected:
    bool viewportEvent(QEvent* event) override;

private:
    void followDataSet(int row);
    void userMovedTo(int row);
    void keepHighlightOnCurrentRow();

    Platform& m_platform;
    DataSourceModel* m_model = nullptr;
    bool m_following = false;  // set while the selection is moved to follow the data set
    int m_userRow = -1;        // the row the user is moving the data set to, while it moves
    bool m_fitting = false;    // set while the last column is refitted
};
