#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <algorithm>

// Editing a table: the edit buffer, new rows, post, cancel, delete and the change log.
namespace zrn::ds {

namespace {

// The default of a new row, written like a file value ("100", "0.5", "TRUE", "'text'").
Value DefaultValue(const Field& f) {
    std::string_view e = text::Trim(f.defaultExpression());
    auto invalid = [&]() {
        return Error("Invalid default value \"" + f.defaultExpression() + "\" for field '" +
                     f.name() + "'");
    };
    switch (f.type()) {
    case FieldType::String:
        if (e.size() >= 2 && e.front() == '\'' && e.back() == '\'')
            e = e.substr(1, e.size() - 2);
        return Value(text::CutToChars(std::string(e), f.size()));
    case FieldType::Float:
        if (auto v = text::ParseFileNumber(e))
            return Value(*v);
        throw invalid();
    case FieldType::Integer:
        if (auto v = text::ParseFileInteger(e))
            return Value(*v);
        throw invalid();
    case FieldType::Boolean:
        if (text::EqualsIgnoreCase(e, "true"))
            return Value(true);
        if (text::EqualsIgnoreCase(e, "false"))
            return Value(false);
        throw invalid();
    case FieldType::Nested:
        throw invalid();
    }
    throw invalid();
}

} // namespace

void Table::checkCanModify() const {
    if (readOnly_)
        throw Error(messagePrefix() + "Cannot modify a read-only dataset");
}

detail::Row Table::newRow() const {
    detail::Row row;
    row.values.resize(fields_.size());
    row.nested.resize(fields_.size());
    row.id = detail::NextRowId();
    for (const auto& f : fields_)
        if (f->isStored() && f->type() != FieldType::Nested && !f->defaultExpression().empty())
            row.values[f->index()] = DefaultValue(*f);
    return row;
}

void Table::edit() {
    ensureActive();
    if (isEditing())
        return;
    checkCanModify();
    if (view_.empty()) {
        append();
        return;
    }
    if (beforeEdit)
        beforeEdit(*this);
    if (master_ && !master_->isEditing())
        master_->edit();
    buffer_ = (*storage())[view_[cursor_]];
    state_ = TableState::Edit;
    modified_ = false;
    notify([this](TableObserver& o) { o.stateChanged(*this); });
    if (afterEdit)
        afterEdit(*this);
}

void Table::insert() {
    startNewRow(false);
}

void Table::append() {
    startNewRow(true);
}

void Table::startNewRow(bool atEnd) {
    ensureActive();
    checkCanModify();
    checkBrowseMode();
    detail::Row row = newRow(); // an invalid default refuses before anything changes
    if (beforeInsert)
        beforeInsert(*this);
    if (beforeScroll)
        beforeScroll(*this);
    if (master_ && !master_->isEditing())
        master_->edit();
    detail::Rows* rows = storage();
    if (!rows)
        throw Error(messagePrefix() + "No master row to add a detail row to");
    int viewPos, storagePos;
    if (atEnd || view_.empty() || cursor_ < 0) {
        viewPos = static_cast<int>(view_.size());
        storagePos = static_cast<int>(rows->size());
    } else {
        viewPos = cursor_;
        storagePos = view_[cursor_];
    }
    notify([&](TableObserver& o) { o.rowsAboutToBeInserted(*this, viewPos, 1); });
    buffer_ = std::move(row);
    view_.insert(view_.begin() + viewPos, -1);
    cursor_ = viewPos;
    insertStoragePos_ = storagePos;
    state_ = TableState::Insert;
    modified_ = false;
    bof_ = eof_ = false;
    notify([&](TableObserver& o) { o.rowsInserted(*this, viewPos, 1); });
    recalc();
    notifyDetails();
    try {
        if (onNewRecord)
            onNewRecord(*this);
    } catch (...) {
        if (state_ == TableState::Insert)
            cancel();
        throw;
    }
    modified_ = false;
    notify([this](TableObserver& o) { o.stateChanged(*this); });
    notify([this](TableObserver& o) { o.scrolled(*this); });
    if (afterInsert)
        afterInsert(*this);
    if (afterScroll)
        afterScroll(*this);
}

void Table::checkRequiredAndConstraints() const {
    for (const auto& f : fields_) {
        if (!f->isStored() || f->type() == FieldType::Nested)
            continue;
        const Value& v = buffer_.values[f->index()];
        // Like the classic engine, a read-only field is the program's business, not the
        // user's, so it is not asked for.
        if (f->fieldKind() == FieldKind::Data && f->required() && !f->readOnly() && v.isNull())
            throw Error("Field '" + f->displayLabel() + "' must have a value");
        if (!f->constraint().empty())
            f->checkValue(v, false);
    }
}

void Table::post() {
    if (!isEditing())
        return;
    for (auto& f : fields_)
        if (f->nested_)
            f->nested_->checkBrowseMode();
    if (beforePost)
        beforePost(*this);
    if (!isEditing())
        return; // beforePost ended the edit itself
    checkRequiredAndConstraints();

    detail::Rows& rows = *storage();
    unsigned long long id = buffer_.id;
    std::vector<int> expected = view_;
    int oldCursor = cursor_;
    if (state_ == TableState::Insert) {
        int sp = std::clamp(insertStoragePos_, 0, static_cast<int>(rows.size()));
        rows.insert(rows.begin() + sp, std::move(buffer_));
        for (int& v : expected)
            v = v < 0 ? sp : (v >= sp ? v + 1 : v);
    } else {
        auto it = std::find_if(rows.begin(), rows.end(),
                               [id](const detail::Row& r) { return r.id == id; });
        *it = std::move(buffer_);
    }
    buffer_ = detail::Row{};
    state_ = TableState::Browse;
    modified_ = false;
    if (master_)
        master_->modified_ = true;
    else
        ++changeCount_;

    // A posted row takes its place in the order and may leave the filter.
    try {
        rebuildView();
    } catch (...) {
        view_ = expected;
    }
    int pos = viewPositionOf(id);
    if (pos < 0)
        pos = view_.empty() ? -1 : std::min(oldCursor, static_cast<int>(view_.size()) - 1);
    cursor_ = pos;
    recalc();
    if (view_ == expected)
        notify([this](TableObserver& o) { o.recordChanged(*this); });
    else
        notifyRefresh();
    notify([this](TableObserver& o) { o.stateChanged(*this); });
    if (currentId() != id)
        notifyDetails();
    if (afterPost)
        afterPost(*this);
}

void Table::cancel() {
    if (!isEditing())
        return;
    for (auto& f : fields_)
        if (f->nested_)
            f->nested_->cancel();
    bool wasInsert = state_ == TableState::Insert;
    state_ = TableState::Browse;
    modified_ = false;
    buffer_ = detail::Row{};
    if (wasInsert) {
        int pos = cursor_;
        notify([&](TableObserver& o) { o.rowsAboutToBeRemoved(*this, pos, 1); });
        view_.erase(view_.begin() + pos);
        cursor_ = view_.empty() ? -1 : std::min(pos, static_cast<int>(view_.size()) - 1);
        notify([&](TableObserver& o) { o.rowsRemoved(*this, pos, 1); });
    }
    recalc();
    notify([this](TableObserver& o) { o.recordChanged(*this); });
    notify([this](TableObserver& o) { o.stateChanged(*this); });
    if (wasInsert)
        notify([this](TableObserver& o) { o.scrolled(*this); });
    notifyDetails();
    if (afterCancel)
        afterCancel(*this);
}

void Table::checkBrowseMode() {
    if (!isActive())
        return;
    for (auto& f : fields_)
        if (f->nested_)
            f->nested_->checkBrowseMode();
    if (!isEditing())
        return;
    if (modified_)
        post();
    else
        cancel();
}

void Table::deleteRecord() {
    ensureActive();
    checkCanModify();
    if (state_ == TableState::Insert) {
        cancel();
        return;
    }
    if (view_.empty())
        throw Error(messagePrefix() + "Cannot perform this operation on an empty dataset");
    if (state_ == TableState::Edit) {
        discardEdit();
        notify([this](TableObserver& o) { o.stateChanged(*this); });
    }
    if (beforeDelete)
        beforeDelete(*this);
    if (beforeScroll)
        beforeScroll(*this);
    if (master_ && !master_->isEditing())
        master_->edit();
    detail::Rows& rows = *storage();
    int pos = cursor_;
    int sp = view_[pos];
    bool wasLast = pos == static_cast<int>(view_.size()) - 1;
    notify([&](TableObserver& o) { o.rowsAboutToBeRemoved(*this, pos, 1); });
    rows.erase(rows.begin() + sp);
    view_.erase(view_.begin() + pos);
    for (int& v : view_)
        if (v > sp)
            --v;
    cursor_ = view_.empty() ? -1 : std::min(pos, static_cast<int>(view_.size()) - 1);
    if (master_)
        master_->modified_ = true;
    else
        ++changeCount_;
    eof_ = wasLast || view_.empty();
    bof_ = view_.empty();
    notify([&](TableObserver& o) { o.rowsRemoved(*this, pos, 1); });
    recalc();
    notify([this](TableObserver& o) { o.scrolled(*this); });
    notifyDetails();
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

void Table::emptyTable() {
    ensureActive();
    checkCanModify();
    if (isEditing())
        cancel();
    if (master_ && !storage())
        return; // no master row, so no detail rows
    if (!storage()->empty()) {
        if (master_ && !master_->isEditing())
            master_->edit();
        storage()->clear();
        if (master_)
            master_->modified_ = true;
        else
            ++changeCount_;
    }
    view_.clear();
    cursor_ = -1;
    bof_ = eof_ = true;
    recalc();
    notifyRefresh();
    notifyDetails();
}

// ---- change log ----

int Table::changeCount() const {
    return master_ ? master_->changeCount() : changeCount_;
}

void Table::mergeChangeLog() {
    if (master_) {
        master_->mergeChangeLog();
        return;
    }
    baseRows_ = rows_;
    changeCount_ = 0;
}

void Table::cancelUpdates() {
    if (master_) {
        master_->cancelUpdates();
        return;
    }
    if (isEditing())
        cancel();
    rows_ = baseRows_;
    changeCount_ = 0;
    if (isActive())
        applyView(false);
    notifyDetails();
}

void Table::installRows(detail::Rows rows) {
    rows_ = std::move(rows);
    baseRows_ = rows_;
    changeCount_ = 0;
}

} // namespace zrn::ds
