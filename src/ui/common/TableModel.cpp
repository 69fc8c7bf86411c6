#include "ui/common/TableModel.h"

#include "dataset/Field.h"
#include "dataset/Table.h"
#include "ui/common/ErrorDisplay.h"
#include "ui/common/FieldText.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace zrn::ui {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

TableModel::~TableModel() = default;

void TableModel::setTable(ds::Table* table) {
    ownSource_.setTable(table);
    source_ = table ? &ownSource_ : nullptr;
    bind(table);
}

void TableModel::setDataSource(ds::DataSource* source) {
    source_ = source;
    bind(source ? source->table() : nullptr);
}

void TableModel::setFieldNames(std::vector<std::string> fieldNames) {
    requestedColumns_ = std::move(fieldNames);
    reload();
}

ds::Field* TableModel::fieldAt(int column) const {
    if (!table_ || column < 0 || column >= static_cast<int>(columns_.size()))
        return nullptr;
    return table_->findField(columns_[column]);
}

int TableModel::columnOf(std::string_view fieldName) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (SameName(columns_[i], fieldName))
            return static_cast<int>(i);
    return -1;
}

void TableModel::setCellStyleHook(CellStyleHook hook) {
    styleHook_ = std::move(hook);
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1));
}

int TableModel::currentRow() const {
    if (!table_ || !table_->isActive())
        return -1;
    return table_->recNo() - 1;
}

bool TableModel::setCurrentRow(int row) {
    if (!table_ || row < 0 || row >= rows_ || row == currentRow())
        return true;
    return guarded(messageParent_, [&] { table_->setRecNo(row + 1); });
}

void TableModel::reload() {
    beginResetModel();
    resetColumns();
    rows_ = table_ ? table_->recordCount() : 0;
    endResetModel();
    emit currentRowChanged(currentRow());
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ds::Field* field = fieldAt(index.column());
    if (!field || index.row() >= table_->recordCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ForegroundRole:
    case Qt::BackgroundRole:
    case Qt::FontRole:
        break;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ToQtAlignment(field->alignment()) | Qt::AlignVCenter);
    default:
        return {};
    }
    try {
        if (index.row() == currentRow())
            return cellData(index, *field, role);
        ds::RowPeek peek = table_->peekRow(index.row());
        return cellData(index, *field, role);
    } catch (const std::exception&) {
        return {};
    }
}

QVariant TableModel::cellData(const QModelIndex& index, const ds::Field& field, int role) const {
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return FieldText(field, role == Qt::DisplayRole);
    CellStyle style;
    if (!readOnly_ && !cellWritable(index.column()))
        style.foreground = QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    if (styleHook_)
        styleHook_(field, index.row(), style);
    switch (role) {
    case Qt::ForegroundRole:
        return style.foreground.isValid() ? QVariant(style.foreground) : QVariant();
    case Qt::BackgroundRole:
        return style.background.isValid() ? QVariant(style.background) : QVariant();
    case Qt::FontRole:
        if (style.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const ds::Field* field = fieldAt(section);
        if (!field)
            return {};
        // A "~" in a title breaks it over two lines.
        return QString::fromStdString(field->displayLabel()).replace(QLatin1Char('~'), '\n');
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (!readOnly_ && cellWritable(index.column()))
        result |= Qt::ItemIsEditable;
    return result;
}

bool TableModel::cellWritable(int column) const {
    const ds::Field* field = fieldAt(column);
    return field && table_->isActive() && !table_->readOnly() && !field->readOnly() &&
           field->isStored() && field->type() != ds::FieldType::Nested;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    lastWriteRefused_ = false;
    if (role != Qt::EditRole || readOnly_ ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        !cellWritable(index.column()))
        return false;
    const std::string text = value.toString().toStdString();
    const std::string name = columns_[index.column()];
    lastWriteRefused_ = !guarded(messageParent_, [&] {
        if (index.row() != currentRow())
            table_->setRecNo(index.row() + 1);
        if (source_)
            source_->ensureEditing();
        table_->fieldByName(name).setText(text);
    });
    return !lastWriteRefused_;
}

void TableModel::fieldChanged(ds::Table&, ds::Field& field) {
    const int column = columnOf(field.name());
    if (column >= 0)
        emit headerDataChanged(Qt::Horizontal, column, column);
    // Calculated fields of the row may follow any field, so the whole row is shown again.
    currentRowDataChanged();
}

void TableModel::recordChanged(ds::Table&) {
    currentRowDataChanged();
}

void TableModel::scrolled(ds::Table&) {
    emit currentRowChanged(currentRow());
}

void TableModel::stateChanged(ds::Table&) {
    // Editability (and so the greying) follows the table's state.
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1));
}

void TableModel::rowsAboutToBeInserted(ds::Table&, int first, int count) {
    if (count <= 0 || first < 0 || first > rows_)
        return;
    beginInsertRows({}, first, first + count - 1);
    pendingInsert_ = count;
}

void TableModel::rowsInserted(ds::Table& table, int first, int count) {
    if (pendingInsert_ == 0) {
        refreshed(table);
        return;
    }
    rows_ += pendingInsert_;
    pendingInsert_ = 0;
    endInsertRows();
}

void TableModel::rowsAboutToBeRemoved(ds::Table&, int first, int count) {
    if (count <= 0 || first < 0 || first + count > rows_)
        return;
    beginRemoveRows({}, first, first + count - 1);
    pendingRemove_ = count;
}

void TableModel::rowsRemoved(ds::Table& table, int first, int count) {
    if (pendingRemove_ == 0) {
        refreshed(table);
        return;
    }
    rows_ -= pendingRemove_;
    pendingRemove_ = 0;
    endRemoveRows();
}

void TableModel::refreshed(ds::Table&) {
    reload();
}

void TableModel::tableDestroyed(ds::Table& table) {
    if (&table != table_)
        return;
    beginResetModel();
    table_ = nullptr;
    source_ = nullptr;
    ownSource_.setTable(nullptr);
    columns_.clear();
    rows_ = 0;
    endResetModel();
}

void TableModel::bind(ds::Table* table) {
    if (table_ != table) {
        if (table_)
            table_->detach(*this);
        table_ = table;
        if (table_)
            table_->attach(*this);
    }
    reload();
}

void TableModel::resetColumns() {
    columns_.clear();
    if (!table_)
        return;
    if (!requestedColumns_.empty()) {
        columns_ = requestedColumns_;
        return;
    }
    for (int i = 0; i < table_->fieldCount(); ++i) {
        const ds::Field& field = table_->field(i);
        if (field.visible() && field.type() != ds::FieldType::Nested)
            columns_.push_back(field.name());
    }
}

void TableModel::currentRowDataChanged() {
    const int row = currentRow();
    if (row >= 0 && row < rows_ && !columns_.empty())
        emit dataChanged(index(row, 0), index(row, static_cast<int>(columns_.size()) - 1));
}

} // namespace zrn::ui
