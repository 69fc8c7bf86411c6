#include "dataset/Expression.h"
#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <algorithm>

// The visible rows of a table: filter, order, locate, bookmarks and peeking.
namespace zrn::ds {

namespace {

int KindRank(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Null:
        return 0;
    case ValueKind::Boolean:
        return 1;
    case ValueKind::Integer:
    case ValueKind::Float:
        return 2;
    case ValueKind::String:
        return 3;
    }
    return 4;
}

int CompareValues(const Value& a, const Value& b) {
    int ra = KindRank(a), rb = KindRank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (a.kind()) {
    case ValueKind::Null:
        return 0;
    case ValueKind::Boolean:
        return static_cast<int>(a.asBoolean()) - static_cast<int>(b.asBoolean());
    case ValueKind::Integer:
    case ValueKind::Float: {
        double x = a.asFloat(), y = b.asFloat();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    case ValueKind::String: {
        int c = a.asString().compare(b.asString());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    }
    return 0;
}

bool MatchValue(const Field& field, const Value& stored, const Value& wanted,
                const LocateOptions& options) {
    if (wanted.isNull())
        return stored.isNull();
    if (stored.isNull())
        return false;
    switch (stored.kind()) {
    case ValueKind::String: {
        std::string w = wanted.toString();
        const std::string& s = stored.asString();
        if (options.partialKey)
            return text::StartsWith(s, w, options.caseInsensitive);
        return options.caseInsensitive ? text::EqualsIgnoreCase(s, w) : s == w;
    }
    case ValueKind::Integer:
    case ValueKind::Float: {
        std::optional<double> w;
        if (wanted.isNumber())
            w = wanted.asFloat();
        else if (wanted.kind() == ValueKind::String)
            w = text::ParseFileNumber(wanted.asString());
        else if (wanted.kind() == ValueKind::Boolean)
            w = wanted.asBoolean() ? 1.0 : 0.0;
        return w && stored.asFloat() == *w;
    }
    case ValueKind::Boolean: {
        if (wanted.kind() == ValueKind::Boolean)
            return stored.asBoolean() == wanted.asBoolean();
        if (wanted.isNumber())
            return stored.asBoolean() == (wanted.asFloat() != 0);
        if (wanted.kind() == ValueKind::String)
            return text::EqualsIgnoreCase(wanted.asString(), stored.asBoolean() ? "true" : "false");
        return false;
    }
    default:
        return false;
    }
    (void)field;
}

} // namespace

std::vector<int> Table::resolveIndex(const std::string& names) const {
    std::vector<int> out;
    for (const std::string& n : text::SplitNames(names)) {
        Field& f = fieldByName(n);
        if (!f.isStored() || f.type() == FieldType::Nested)
            throw Error(messagePrefix() + "Cannot order by field '" + f.name() + "'");
        out.push_back(f.index());
    }
    return out;
}

std::vector<int> Table::resolveFilter(const Expression& expr) const {
    std::vector<int> slots;
    for (const std::string& n : expr.names()) {
        Field* f = findField(n);
        if (!f || f->type() == FieldType::Nested)
            throw Error(messagePrefix() + "Field '" + n + "' not found in filter expression \"" +
                        expr.text() + "\"");
        slots.push_back(f->index());
    }
    return slots;
}

bool Table::rowAccepted(const detail::Row& row) {
    if (!filterExpr_ && !filterHandler_)
        return true;
    // The calculated fields of the row are only worked out when something reads them: the
    // handler, which reads through the fields, or the expression naming one.
    bool needsCalc = static_cast<bool>(filterHandler_);
    if (filterExpr_ && !needsCalc)
        for (int fi : filterSlots_)
            if (!fields_[fi]->isStored()) {
                needsCalc = true;
                break;
            }
    if (!needsCalc)
        return filterExpr_->holds(
            [&](int slot) -> const Value& { return row.values[filterSlots_[slot]]; });
    std::vector<Value> calc;
    computeCalcFields(&row, calc);
    peeks_.push_back(Peek{&row, std::move(calc)});
    struct Pop {
        Table& t;
        ~Pop() { t.peeks_.pop_back(); }
    } pop{*this};
    if (filterExpr_) {
        bool ok = filterExpr_->holds([&](int slot) -> const Value& {
            int fi = filterSlots_[slot];
            return fields_[fi]->isStored() ? row.values[fi] : peeks_.back().calc[fi];
        });
        if (!ok)
            return false;
    }
    return !filterHandler_ || filterHandler_(*this);
}

void Table::rebuildView() {
    std::vector<int> view;
    const detail::Rows* rows = isActive() ? storage() : nullptr;
    if (rows) {
        std::vector<int> index = resolveIndex(indexFieldNames_);
        if (filtered_ && filterExpr_)
            filterSlots_ = resolveFilter(*filterExpr_);
        bool filtering = filtered_ && (filterExpr_ || filterHandler_);
        for (int i = 0; i < static_cast<int>(rows->size()); ++i)
            if (!filtering || rowAccepted((*rows)[i]))
                view.push_back(i);
        if (!index.empty())
            std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
                for (int fi : index) {
                    int c = CompareValues((*rows)[a].values[fi], (*rows)[b].values[fi]);
                    if (c != 0)
                        return c < 0;
                }
                return false;
            });
    }
    view_.swap(view);
}

unsigned long long Table::rowIdAt(int position) const {
    int sp = view_[position];
    return sp < 0 ? buffer_.id : (*storage())[sp].id;
}

unsigned long long Table::currentId() const {
    if (!isActive() || cursor_ < 0)
        return 0;
    return rowIdAt(cursor_);
}

int Table::viewPositionOf(unsigned long long id) const {
    if (id == 0 || !isActive())
        return -1;
    for (int pos = 0; pos < static_cast<int>(view_.size()); ++pos)
        if (rowIdAt(pos) == id)
            return pos;
    return -1;
}

void Table::applyView(bool toFirst) {
    unsigned long long keep = currentId();
    rebuildView();
    int pos = toFirst ? -1 : viewPositionOf(keep);
    if (pos < 0)
        pos = view_.empty() ? -1 : 0;
    bool moved = idAtOrZero(pos) != keep;
    cursor_ = pos;
    bof_ = pos <= 0;
    eof_ = view_.empty();
    recalc();
    notifyRefresh();
    if (moved) {
        notifyDetails();
        if (afterScroll)
            afterScroll(*this);
    }
}

unsigned long long Table::idAtOrZero(int position) const {
    return position < 0 ? 0 : rowIdAt(position);
}

// ---- order ----

void Table::setIndexFieldNames(const std::string& fieldNames) {
    if (isActive()) {
        resolveIndex(fieldNames); // refuse unknown fields before anything changes
        checkBrowseMode();
        indexFieldNames_ = fieldNames;
        applyView(false);
    } else {
        indexFieldNames_ = fieldNames;
    }
}

// ---- filter ----

void Table::setFilter(const std::string& expression) {
    std::shared_ptr<const Expression> expr =
        text::Trim(expression).empty() ? nullptr : Expression::Parse(expression, "filter");
    if (isActive() && filtered_) {
        if (expr)
            resolveFilter(*expr);
        checkBrowseMode();
        filterText_ = expression;
        filterExpr_ = std::move(expr);
        applyView(true);
    } else {
        filterText_ = expression;
        filterExpr_ = std::move(expr);
    }
}

void Table::setFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    if (isActive()) {
        if (filtered && filterExpr_)
            resolveFilter(*filterExpr_);
        checkBrowseMode();
        filtered_ = filtered;
        applyView(true);
    } else {
        filtered_ = filtered;
    }
}

void Table::setFilterHandler(std::function<bool(Table&)> handler) {
    filterHandler_ = std::move(handler);
    if (isActive() && filtered_) {
        checkBrowseMode();
        applyView(true);
    }
}

void Table::refresh() {
    if (!isActive())
        return;
    checkBrowseMode();
    applyView(false);
}

// ---- locate and bookmarks ----

bool Table::locate(std::string_view fieldNames, const std::vector<Value>& values,
                   LocateOptions options) {
    ensureActive();
    std::vector<Field*> fields;
    for (const std::string& n : text::SplitNames(fieldNames))
        fields.push_back(&fieldByName(n));
    if (fields.size() != values.size() || fields.empty())
        throw Error(messagePrefix() + "Locate needs one value per field of \"" +
                    std::string(fieldNames) + "\"");
    checkBrowseMode();
    const detail::Rows* rows = storage();
    for (int pos = 0; pos < static_cast<int>(view_.size()); ++pos) {
        const detail::Row& row = (*rows)[view_[pos]];
        std::vector<Value> calc;
        bool needCalc =
            std::any_of(fields.begin(), fields.end(), [](Field* f) { return !f->isStored(); });
        if (needCalc)
            computeCalcFields(&row, calc);
        bool match = true;
        for (size_t k = 0; k < fields.size() && match; ++k) {
            int fi = fields[k]->index();
            const Value& stored = fields[k]->isStored() ? row.values[fi] : calc[fi];
            match = MatchValue(*fields[k], stored, values[k], options);
        }
        if (match) {
            scrollTo(pos, false, false);
            return true;
        }
    }
    return false;
}

Bookmark Table::bookmark() const {
    return Bookmark(currentId());
}

bool Table::bookmarkValid(const Bookmark& bookmark) const {
    return viewPositionOf(bookmark.id_) >= 0;
}

void Table::gotoBookmark(const Bookmark& bookmark) {
    ensureActive();
    checkBrowseMode();
    int pos = viewPositionOf(bookmark.id_);
    if (pos < 0)
        throw Error(messagePrefix() +
                    "Record not found: the remembered row was deleted or is filtered out");
    scrollTo(pos, false, false);
}

// ---- peeking ----

RowPeek Table::peekRow(int position) {
    return RowPeek(*this, position);
}

RowPeek::RowPeek(Table& table, int position) : table_(&table) {
    if (!table.isActive() || position < 0 || position >= static_cast<int>(table.view_.size()))
        throw Error(table.messagePrefix() + "Row " + std::to_string(position) + " out of range");
    // The current row of a table being edited is shown as edited.
    const detail::Row* row = (table.isEditing() && position == table.cursor_)
                                 ? &table.buffer_
                                 : &(*table.storage())[table.view_[position]];
    std::vector<Value> calc;
    table.computeCalcFields(row, calc);
    table.peeks_.push_back(Table::Peek{row, std::move(calc)});
}

RowPeek::~RowPeek() {
    table_->peeks_.pop_back();
}

} // namespace zrn::ds
