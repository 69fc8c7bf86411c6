#include "lang/TaalComponent.h"

#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "lang/TaalClient.h"
#include "lang/ucalcul.h"
#include "rtl/Error.h"
#include "rtl/Format.h"
#include "rtl/NumberFormat.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zrn::lang {

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

//! Reads a table file of either form; its fields come from the file.
std::unique_ptr<ds::Table> ReadTableFile(const std::string& path) {
    auto table = std::make_unique<ds::Table>(path);
    ds::LoadFromFile(*table, path);
    return table;
}

std::string TextOf(const ds::Field& field) {
    return field.isNull() ? std::string() : field.asString();
}

} // namespace

TTaalComponent::TTaalComponent() : calculator_(std::make_unique<TCalcul>()) {}

TTaalComponent::~TTaalComponent() {
    // The list goes without telling anyone; every client learns of the end through its
    // removal notice, and its Detach then finds no list any more.
    destroying_ = true;
    observers_.clear();
    while (!freeNotifies_.empty()) {
        TTaalClient* client = freeNotifies_.back();
        freeNotifies_.pop_back();
        client->TaalComponentRemoved(*this);
    }
}

// ---- properties ----

void TTaalComponent::SetEenheid(TEenheid eenheid) {
    eenheid_ = eenheid;
    LoadUnitFile(true);
}

void TTaalComponent::SetTaal(const std::string& taal) {
    taal_ = taal;
    LoadLanguageFile(true);
}

std::string TTaalComponent::TaalDirectory() const {
    return rtl::IsAbsolutePath(directory_) ? directory_ : rtl::ExeDirectory() + directory_;
}

void TTaalComponent::SetTaalDirectory(const std::string& directory) {
    if (directory != directory_) {
        directory_ = directory;
        if (!directory_.empty() && directory_.back() != rtl::PathDelim)
            directory_ += rtl::PathDelim;
    }
    // One notification for the pair: the language file is read silently first.
    LoadLanguageFile(false);
    LoadUnitFile(true);
}

// ---- reading the files ----

void TTaalComponent::LoadUnitFile(bool notify) {
    if (loading_)
        return;
    const std::string path = TaalDirectory() + "eenheden.xml";
    if (!FileExists(path))
        throw Error("Taaldirectory niet gevonden");
    auto table = ReadTableFile(path);
    const ds::Field& code = table->fieldByName("eenh_code");
    const ds::Field& metrisch = table->fieldByName("metrisch");
    const ds::Field& imperial = table->fieldByName("imperial");
    const ds::Field& naarMetrisch = table->fieldByName("NaarMetrisch");
    const ds::Field& naarImperial = table->fieldByName("NaarImperial");
    std::map<std::string, UnitRow> units;
    for (table->first(); !table->eof(); table->next()) {
        // The first row of a code wins, as a lookup in file order finds it.
        units.emplace(TextOf(code), UnitRow{TextOf(metrisch), TextOf(imperial),
                                            TextOf(naarMetrisch), TextOf(naarImperial)});
    }
    units_ = std::move(units);
    unitsRead_ = true;
    if (notify)
        TaalNotify(*this);
}

void TTaalComponent::LoadLanguageFile(bool notify) {
    if (loading_)
        return;
    const std::string path = TaalDirectory() + taal_ + ".xml";
    if (!FileExists(path))
        return;
    auto table = ReadTableFile(path);
    const ds::Field& key = table->fieldByName("Taalcode");
    const ds::Field& value = table->fieldByName("Waarde");
    std::map<std::string, std::string> texts;
    for (table->first(); !table->eof(); table->next())
        texts.emplace(TextOf(key), TextOf(value));
    texts_ = std::move(texts);
    textsRead_ = true;
    if (notify)
        TaalNotify(*this);
}

// ---- ITaalSubject ----

bool TTaalComponent::Fail(const std::string& message) {
    lastFailure_ = message;
    return false;
}

bool TTaalComponent::NotifyObservers() {
    // By position over the count at the start; the bound check only keeps an observer
    // that leaves during the walk from taking the walk past the end of the list.
    const std::size_t count = observers_.size();
    try {
        for (std::size_t i = 0; i < count && i < observers_.size(); ++i)
            observers_[i]->SubjectChanged(*this);
    } catch (const std::exception& e) {
        return Fail(e.what());
    } catch (...) {
        return Fail("An observer of the language service failed");
    }
    return true;
}

bool TTaalComponent::GetText(const std::string& key, std::string& text) {
    text.clear();
    if (!textsRead_)
        return Fail("No language file has been read");
    auto it = texts_.find(key);
    if (it != texts_.end())
        text = it->second;
    return true;
}

bool TTaalComponent::GetUnitLabel(const std::string& code, std::string& label) {
    label.clear();
    if (!unitsRead_)
        return Fail("No unit file has been read");
    auto it = units_.find(code);
    if (it != units_.end())
        label = eenheid_ == ehMetrisch ? it->second.metrisch : it->second.imperial;
    return true;
}

bool TTaalComponent::Attach(ITaalObserver& observer) {
    if (destroying_)
        return Fail("The language service is being destroyed");
    if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end())
        observers_.push_back(&observer);
    return true;
}

bool TTaalComponent::Detach(ITaalObserver& observer) {
    auto it = std::find(observers_.begin(), observers_.end(), &observer);
    if (it != observers_.end())
        observers_.erase(it);
    return true;
}

double TTaalComponent::ToMetric(const std::string& code, double value) {
    return Convert(code, value, &UnitRow::naarMetrisch);
}

double TTaalComponent::ToImperial(const std::string& code, double value) {
    return Convert(code, value, &UnitRow::naarImperial);
}

double TTaalComponent::Convert(const std::string& code, double value,
                               std::string UnitRow::*formula) {
    if (!unitsRead_)
        throw Error("No unit file has been read");
    auto it = units_.find(code);
    if (it == units_.end())
        return 0;
    const std::string& text = it->second.*formula;
    // The formulas and the value handed to them are written with "."; the user's
    // separator comes back when this ends, also by an exception.
    rtl::FileNumberFormat fileFormat;
    calculator_->SetFormula(text);
    calculator_->SetVariableLines({"x=" + rtl::FloatToStr(value)});
    const std::string result = calculator_->Evaluate();
    double converted = 0;
    if (calculator_->ErrorFlag() || !rtl::TryStrToFloat(result, converted))
        throw Error(rtl::Format("Invalid conversion function: %s", {text}));
    return converted;
}

// ---- removal notices ----

void TTaalComponent::FreeNotification(TTaalClient& client) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), &client) == freeNotifies_.end())
        freeNotifies_.push_back(&client);
}

void TTaalComponent::RemoveFreeNotification(TTaalClient& client) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), &client);
    if (it != freeNotifies_.end())
        freeNotifies_.erase(it);
}

} // namespace zrn::lang
