// The link list's model: the link rows with each code's category looked up in the master, and
// the cells an editor may change in place.
#include "authoring/LinkGridModel.h"

#include <QColor>

#include "platform/Platform.h"
#include "store/Value.h"
#include "text/QtText.h"

LinkGridModel::LinkGridModel(Platform& platform, store::Table& links, store::Table& master, QObject* parent)
    : DataSourceModel({{"ＫＥＹ", QStringLiteral("ＫＥＹ"), 50},
                       {"条件", QStringLiteral("条件"), 240},
                       {"リンク条文本文", QStringLiteral("リンク条文本文"), 120},
                       {"リンク条文番号", QStringLiteral("条文番号"), 60},
                       {"リンク条文区分２", QStringLiteral("条文区分"), 80}},
                      parent),
      m_platform(platform),
      m_links(links),
      m_master(master)
{
}

QVariant LinkGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && index.column() == 0 && role == Qt::BackgroundRole)
        return QColor(192, 192, 192);
    if (index.isValid() && index.column() == 4 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        // The category of the link's code, looked up in the master.
        const int codeField = m_links.FieldIndex("リンク条文番号");
        if (!m_links.Active() || codeField < 0 || !m_master.Active())
            return {};
        const store::Value code = m_links.ValueAt(index.row(), codeField);
        const int renban = m_master.FieldIndex("連番");
        const int kubun = m_master.FieldIndex("条文区分");
        if (code.isNull() || renban < 0 || kubun < 0)
            return {};
        for (const store::Row& row : m_master.AllRows())
            if (static_cast<std::size_t>(renban) < row.size() && store::Value::compare(row[renban], code) == 0)
                return text::toQString(row[static_cast<std::size_t>(kubun)].asText());
        return {};
    }
    if (role == Qt::EditRole)
        return DataSourceModel::data(index, Qt::DisplayRole);
    return DataSourceModel::data(index, role);
}

Qt::ItemFlags LinkGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = DataSourceModel::flags(index);
    if (index.isValid() && index.column() >= 1 && index.column() <= 3)
        f |= Qt::ItemIsEditable;
    return f;
}

bool LinkGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() < 1 || index.column() > 3)
        return false;
    const std::string& field = columns()[static_cast<std::size_t>(index.column())].fieldName;
    const bool stored = runCommand(m_platform, [&] {
        m_links.MoveTo(index.row());
        m_links.Edit();
        m_links.SetFieldValue(field, text::fromQString(value.toString()));
        m_links.Post();
    });
    if (!stored)
        m_links.Cancel();
    return stored;
}
