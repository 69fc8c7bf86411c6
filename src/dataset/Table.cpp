#include "dataset/Table.h"

#include "dataset/Packet.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <algorithm>

namespace zrn::ds {

Table::Table(std::string name) : name_(std::move(name)) {}

Table::~Table() {
    // A bound table writes its unsaved changes back when it goes, as when it is closed.
    // There is nobody to tell about a failure here any more.
    if (!master_ && active_ && !fileName_.empty() && changeCount_ > 0) {
        try {
            close();
        } catch (...) {
        }
    }
    std::vector<TableObserver*> observers;
    observers.swap(observers_);
    for (TableObserver* o : observers) {
        auto& tables = o->tables_;
        tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
        o->tableDestroyed(*this);
    }
}

std::string Table::messagePrefix() const {
    return name_.empty() ? std::string() : name_ + ": ";
}

// ---- fields ----

void Table::visitRowLists(const std::function<void(detail::Rows&)>& fn) {
    if (!master_) {
        fn(rows_);
        fn(baseRows_);
        return;
    }
    int fi = masterFieldIndex_;
    master_->visitRowLists([&](detail::Rows& rows) {
        for (detail::Row& r : rows)
            fn(r.nested[fi]);
    });
}

void Table::resizeRows() {
    size_t n = fields_.size();
    visitRowLists([n](detail::Rows& rows) {
        for (detail::Row& r : rows) {
            r.values.resize(n);
            r.nested.resize(n);
        }
    });
}

Field& Table::addField(std::unique_ptr<Field> field) {
    if (!field)
        throw Error(messagePrefix() + "No field to add");
    if (isActive())
        throw Error(messagePrefix() + "Cannot add field '" + field->name() + "' to an open table");
    if (findField(field->name()))
        throw Error(messagePrefix() + "Duplicate field name '" + field->name() + "'");
    field->declared_ = true;
    field->attachTo(this, static_cast<int>(fields_.size()));
    fields_.push_back(std::move(field));
    fieldIndex_.emplace(fields_.back()->name(), static_cast<int>(fields_.size() - 1));
    resizeRows();
    return *fields_.back();
}

Field& Table::addStringField(const std::string& name, int width) {
    return addField(std::make_unique<Field>(name, FieldType::String, width));
}

Field& Table::addFloatField(const std::string& name) {
    return addField(std::make_unique<Field>(name, FieldType::Float));
}

Field& Table::addIntegerField(const std::string& name) {
    return addField(std::make_unique<Field>(name, FieldType::Integer));
}

Field& Table::addBooleanField(const std::string& name) {
    return addField(std::make_unique<Field>(name, FieldType::Boolean));
}

Field& Table::addNestedField(const std::string& name) {
    return addField(std::make_unique<Field>(name, FieldType::Nested));
}

void Table::clearFields() {
    if (isActive())
        throw Error(messagePrefix() + "Cannot remove the fields of an open table");
    fields_.clear();
    fieldIndex_.clear();
    resizeRows();
}

size_t Table::NameHash::operator()(std::string_view name) const {
    // FNV-1a over the lower-case bytes.
    size_t h = 14695981039346656037ull;
    for (char c : name) {
        h ^= static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
        h *= 1099511628211ull;
    }
    return h;
}

bool Table::NameEqual::operator()(std::string_view a, std::string_view b) const {
    // Names are nearly always written as declared: the plain comparison settles most.
    return a.size() == b.size() && (a == b || text::EqualsIgnoreCase(a, b));
}

void Table::rebuildFieldIndex() {
    fieldIndex_.clear();
    for (size_t i = 0; i < fields_.size(); ++i)
        fieldIndex_.emplace(fields_[i]->name(), static_cast<int>(i));
}

Field* Table::findField(std::string_view name) const {
    auto it = fieldIndex_.find(name);
    return it == fieldIndex_.end() ? nullptr : fields_[it->second].get();
}

Field& Table::fieldByName(std::string_view name) const {
    if (Field* f = findField(name))
        return *f;
    throw Error(messagePrefix() + "Field '" + std::string(name) + "' not found");
}

bool Table::hasCalculatedFields() const {
    for (const auto& f : fields_)
        if (f->fieldKind() == FieldKind::Calculated)
            return true;
    return false;
}

// ---- aggregates ----

Aggregate& Table::addAggregate(const std::string& name, const std::string& expression) {
    if (findAggregate(name))
        throw Error(messagePrefix() + "Duplicate aggregate name '" + name + "'");
    aggregates_.push_back(std::unique_ptr<Aggregate>(new Aggregate(*this, name, expression)));
    return *aggregates_.back();
}

Aggregate* Table::findAggregate(std::string_view name) const {
    for (const auto& a : aggregates_)
        if (text::EqualsIgnoreCase(a->name(), name))
            return a.get();
    return nullptr;
}

Aggregate& Table::aggregateByName(std::string_view name) const {
    if (Aggregate* a = findAggregate(name))
        return *a;
    throw Error(messagePrefix() + "Aggregate '" + std::string(name) + "' not found");
}

// ---- open and close ----

bool Table::isActive() const {
    return active_ && (!master_ || master_->isActive());
}

bool Table::isEditing() const {
    return isActive() && (state_ == TableState::Edit || state_ == TableState::Insert);
}

void Table::ensureActive() const {
    if (!isActive())
        throw Error(messagePrefix() + "Cannot perform this operation on a closed dataset");
}

void Table::open() {
    if (isActive())
        return;
    if (master_ && !master_->isActive())
        throw Error(messagePrefix() + "Cannot open a detail table while its master is closed");
    active_ = true;
    state_ = TableState::Browse;
    modified_ = false;
    buffer_ = detail::Row{};
    try {
        rebuildView();
    } catch (...) {
        active_ = false;
        view_.clear();
        throw;
    }
    cursor_ = view_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.empty();
    recalc();
    notifyRefresh();
    for (auto& f : fields_)
        if (f->nested_) {
            f->nested_->active_ = true;
            f->nested_->masterRowChanged();
        }
    if (afterOpen)
        afterOpen(*this);
    if (afterScroll)
        afterScroll(*this);
}

void Table::discardEdit() {
    for (auto& f : fields_)
        if (f->nested_ && f->nested_->isEditing())
            f->nested_->discardEdit();
    if (state_ == TableState::Insert && cursor_ >= 0 && cursor_ < static_cast<int>(view_.size()))
        view_.erase(view_.begin() + cursor_);
    state_ = TableState::Browse;
    modified_ = false;
    buffer_ = detail::Row{};
}

void Table::close() {
    if (!isActive()) {
        if (!master_)
            active_ = false;
        return;
    }
    if (beforeClose)
        beforeClose(*this);
    discardEdit();
    if (!master_ && !fileName_.empty() && changeCount_ > 0) {
        // Written before anything is dropped: a failed write leaves the table open with its
        // changes still pending, so they are neither lost nor shown as saved.
        SaveToFile(*this, fileName_);
        mergeChangeLog();
    }
    active_ = false;
    view_.clear();
    cursor_ = -1;
    calc_.clear();
    bof_ = eof_ = true;
    notify([this](TableObserver& o) { o.stateChanged(*this); });
    notifyRefresh();
    notifyDetails();
}

// ---- cursor ----

int Table::recordCount() const {
    return isActive() ? static_cast<int>(view_.size()) : 0;
}

int Table::recNo() const {
    return (isActive() && cursor_ >= 0) ? cursor_ + 1 : 0;
}

bool Table::eof() const {
    return !isActive() || view_.empty() || eof_;
}

bool Table::bof() const {
    return !isActive() || view_.empty() || bof_;
}

void Table::moveTo(int position) {
    cursor_ = position;
    recalc();
    notify([this](TableObserver& o) { o.scrolled(*this); });
    notifyDetails();
}

void Table::scrollTo(int position, bool bof, bool eof) {
    if (beforeScroll)
        beforeScroll(*this);
    moveTo(position);
    // The flags are right before afterScroll runs: it may move on by itself.
    bof_ = bof || view_.empty();
    eof_ = eof || view_.empty();
    if (afterScroll)
        afterScroll(*this);
}

void Table::first() {
    ensureActive();
    checkBrowseMode();
    scrollTo(view_.empty() ? -1 : 0, true, false);
}

void Table::last() {
    ensureActive();
    checkBrowseMode();
    scrollTo(static_cast<int>(view_.size()) - 1, false, true);
}

void Table::next() {
    ensureActive();
    checkBrowseMode();
    if (view_.empty() || cursor_ >= static_cast<int>(view_.size()) - 1) {
        eof_ = true;
        return;
    }
    scrollTo(cursor_ + 1, false, false);
}

void Table::prior() {
    ensureActive();
    checkBrowseMode();
    if (view_.empty() || cursor_ <= 0) {
        bof_ = true;
        return;
    }
    scrollTo(cursor_ - 1, false, false);
}

void Table::setRecNo(int recNo) {
    ensureActive();
    checkBrowseMode();
    if (recNo < 1 || recNo > static_cast<int>(view_.size()))
        throw Error(messagePrefix() + "Record number " + std::to_string(recNo) + " out of range");
    scrollTo(recNo - 1, false, false);
}

// ---- observers ----

void Table::attach(TableObserver& observer) {
    if (std::find(observers_.begin(), observers_.end(), &observer) != observers_.end())
        return;
    observers_.push_back(&observer);
    observer.tables_.push_back(this);
}

void Table::detach(TableObserver& observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer),
                     observers_.end());
    auto& tables = observer.tables_;
    tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
}

void Table::notify(const std::function<void(TableObserver&)>& fn) {
    if (disableCount_ > 0)
        return;
    // An observer may detach (itself or another) while being told.
    std::vector<TableObserver*> observers = observers_;
    for (TableObserver* o : observers)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end())
            fn(*o);
}

void Table::notifyField(Field& field) {
    notify([this, &field](TableObserver& o) { o.fieldChanged(*this, field); });
}

void Table::notifyRefresh() {
    notify([this](TableObserver& o) { o.refreshed(*this); });
}

void Table::disableControls() {
    ++disableCount_;
}

void Table::enableControls() {
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        notifyRefresh();
}

void Table::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    notify([this](TableObserver& o) { o.stateChanged(*this); });
}

Field* Table::masterField() const {
    return master_ ? &master_->field(masterFieldIndex_) : nullptr;
}

// ---- rows of a detail ----

detail::Rows* Table::storage() {
    return master_ ? master_->nestedStorageFor(masterFieldIndex_) : &rows_;
}

const detail::Rows* Table::storage() const {
    return const_cast<Table*>(this)->storage();
}

detail::Rows* Table::nestedStorageFor(int fieldIndex) {
    if (!isActive() || cursor_ < 0)
        return nullptr;
    detail::Row* row = isEditing() ? &buffer_ : &(*storage())[view_[cursor_]];
    return &row->nested[fieldIndex];
}

void Table::notifyDetails() {
    for (auto& f : fields_)
        if (f->nested_)
            f->nested_->masterRowChanged();
}

void Table::masterRowChanged() {
    // The master's edit rules end a detail's edit before its row changes; whatever is
    // still open here belongs to rows that are gone.
    if (state_ != TableState::Browse)
        discardEdit();
    if (isActive()) {
        rebuildView();
        cursor_ = view_.empty() ? -1 : 0;
    } else {
        view_.clear();
        cursor_ = -1;
    }
    bof_ = true;
    eof_ = view_.empty();
    recalc();
    notifyRefresh();
    notifyDetails();
}

// ---- active row ----

const detail::Row* Table::activeRow() const {
    if (!peeks_.empty())
        return peeks_.back().row;
    if (!isActive() || cursor_ < 0)
        return nullptr;
    if (isEditing())
        return &buffer_;
    return &(*storage())[view_[cursor_]];
}

detail::Row* Table::writableActiveRow() {
    return isEditing() ? &buffer_ : nullptr;
}

std::vector<Value>* Table::activeCalc() {
    return peeks_.empty() ? &calc_ : &peeks_.back().calc;
}

const std::vector<Value>* Table::activeCalc() const {
    return peeks_.empty() ? &calc_ : &peeks_.back().calc;
}

void Table::computeCalcFields(const detail::Row* row, std::vector<Value>& calc) {
    // Without calculated fields nothing reads the slots: no need to make them.
    if (!hasCalculatedFields()) {
        calc.clear();
        return;
    }
    calc.assign(fields_.size(), Value());
    if (!row || !onCalcFields)
        return;
    peeks_.push_back(Peek{row, std::move(calc)});
    bool wasInCalc = inCalcFields_;
    inCalcFields_ = true;
    struct Restore {
        Table& t;
        std::vector<Value>& calc;
        bool wasInCalc;
        ~Restore() {
            calc = std::move(t.peeks_.back().calc);
            t.peeks_.pop_back();
            t.inCalcFields_ = wasInCalc;
        }
    } restore{*this, calc, wasInCalc};
    onCalcFields(*this);
}

void Table::recalc() {
    const detail::Row* row = nullptr;
    if (isActive() && cursor_ >= 0)
        row = isEditing() ? &buffer_ : &(*storage())[view_[cursor_]];
    // Peeks belong to readers further up the stack; the current row is computed apart.
    std::vector<Peek> saved;
    saved.swap(peeks_);
    try {
        computeCalcFields(row, calc_);
    } catch (...) {
        peeks_.swap(saved);
        throw;
    }
    peeks_.swap(saved);
}

} // namespace zrn::ds
