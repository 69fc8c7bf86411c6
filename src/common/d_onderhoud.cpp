#include "common/d_onderhoud.h"

#include "common/Algemeen.h"
#include "common/TableFileNames.h"
#include "dataset/Table.h"
#include "rtl/Error.h"
#include "rtl/NumberFormat.h"
#include "rtl/Paths.h"

#include <algorithm>
#include <cctype>

namespace zrn::common {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void DeclareTalen(ds::Table& table) {
    table.addStringField("Taal", 50);
    table.addStringField("Display", 50);
}

void DeclareTaal(ds::Table& table) {
    table.addStringField("Taalcode", 50);
    ds::Field& id = table.addStringField("TaalId", 50);
    id.setDefaultExpression("' '");
    id.setVisible(false);
    table.addStringField("Waarde", 255).setRequired(true);
}

void DeclareMatWielafstand(ds::Table& table) {
    table.addStringField("matserie", 5).setRequired(true);
    struct Column {
        const char* name;
        const char* title;
    };
    for (const Column& c :
         {Column{"afst_vanaf", "Bel. perc. vanaf"}, Column{"afst_tm", "Bel. perc. tot en met"},
          Column{"aantal_wielen", "wielafstand"}}) {
        ds::Field& field = table.addFloatField(c.name);
        field.setRequired(true);
        field.setDisplayLabel(c.title);
    }
    table.addBooleanField("zaagbaar");
}

void DeclareKettingen(ds::Table& table) {
    for (ds::Field* field :
         {&table.addStringField("ketting", 15), &table.addStringField("ketcode", 5),
          &table.addStringField("kettype", 5), &table.addFloatField("massa"),
          &table.addIntegerField("max_werk_bel"), &table.addFloatField("breedte"),
          &table.addFloatField("min_R"), &table.addFloatField("CM")})
        field->setRequired(true);
    // The two friction columns carry each other's titles, as the chain list always showed
    // them; the stored names are what the chain module reads.
    ds::Field& onder = table.addStringField("wrijv_coef_onder", 5);
    onder.setRequired(true);
    onder.setDisplayLabel("Wrijv_coef_boven");
    ds::Field& boven = table.addStringField("wrijv_coef_boven", 5);
    boven.setRequired(true);
    boven.setDisplayLabel("Wrijv_coef_onder");
    table.addStringField("materiaal_code", 1);
}

} // namespace

Tdm_onderhoud::Tdm_onderhoud()
    : Tdm_onderhoud(rtl::ExeDirectory() + "data", rtl::ExeDirectory() + "taal") {}

Tdm_onderhoud::Tdm_onderhoud(const std::string& dataDirectory, const std::string& taalDirectory) {
    declareTables();
    SetDataDirectory(dataDirectory);
    SetTaalDirectory(taalDirectory);
    OpenTables();
}

// The tables go with their entries; a bound table with unsaved changes writes them back
// to its file as it goes.
Tdm_onderhoud::~Tdm_onderhoud() = default;

Tdm_onderhoud::Entry& Tdm_onderhoud::addEntry(const std::string& name, int group, std::string file,
                                              bool inTaalDirectory, std::string order) {
    Entry entry;
    entry.table = std::make_unique<ds::Table>(name);
    entry.group = group;
    entry.file = std::move(file);
    entry.inTaalDirectory = inTaalDirectory;
    entry.order = std::move(order);
    entries_.push_back(std::move(entry));
    return entries_.back();
}

void Tdm_onderhoud::declareTables() {
    // Component order: the order of the items of every group.
    talen_ = addEntry("Talen", 0, "talen.xml", true).table.get();
    DeclareTalen(*talen_);
    addEntry("Eenheden", 0, "eenheden.xml", true);
    addEntry("Productmateriaal", 0, "product_materiaal.xml");
    addEntry("Geleidingmateriaal", 0, "geleiding_materiaal.xml");
    taal_ = addEntry("Taal", 1, {}, true, "Taalcode").table.get();
    DeclareTaal(*taal_);
    addEntry("Smering", 0, "smering.xml");
    addEntry("Wrijving", 0, "wrijving.xml");
    addEntry("Matten", 2, "mat.xml");
    addEntry("Matserie", 2, "tandwiel.xml");
    addEntry("MatTandwielen", 2, "matserie_tandwiel.xml", false, "tanden");
    addEntry("MatSnelheid", 2, "mat_snelheid.xml");
    DeclareMatWielafstand(*addEntry("MatWielafstand", 2, "mat_wielafstand.xml").table);
    addEntry("MatOpstart", 2, "opstartfactor.xml");
    addEntry("MatSupport", 2, "support.xml");
    addEntry("MatTCF", 2, "temp_corr_factor.xml", false, "temp_vanaf");
    DeclareKettingen(*addEntry("Kettingen", 3, "ketting.XML").table);
    addEntry("KettingMateriaal", 3, "k_materiaal.xml");
    addEntry("KettingTandwielen", 3, "k_tandwiel.xml", false, "tanden");
    addEntry("KettingSnelheid", 3, "k_snelheid.xml");
    addEntry("KettingOpstart", 3, "k_opstartfactor.xml");
    addEntry("PVlimiet", 3, "k_pv_limiet.xml");
    addEntry("Flexmattype", 4, "f_flexmattype.XML");
    addEntry("Flexmatten", 4, "f_flexmat.XML");
    addEntry("FlexmatTandwiel", 4, "f_tandwiel.xml", false, "tanden");
    addEntry("FlexmatDrive", 4, "f_drivetype.XML");
    addEntry("FlexmatRadiusBreedteverhouding", 4, "f_radiusbreedte_verhouding.XML");
}

Tdm_onderhoud::Entry* Tdm_onderhoud::findEntry(const ds::Table& table) {
    for (Entry& entry : entries_)
        if (entry.table.get() == &table)
            return &entry;
    return nullptr;
}

Tdm_onderhoud::Entry* Tdm_onderhoud::findEntry(int group, std::string_view name) {
    for (Entry& entry : entries_)
        if (entry.group == group && SameName(entry.table->name(), name))
            return &entry;
    return nullptr;
}

std::string Tdm_onderhoud::pathOf(const Entry& entry) const {
    return (entry.inTaalDirectory ? TaalDirectory() : DataDirectory()) + entry.file;
}

void Tdm_onderhoud::readBound(ds::Table& table, const std::string& fileName, Entry* entry) {
    rtl::FileNumberFormat fileFormat;
    if (entry)
        entry->loaded = false;
    // Closing while still bound writes unsaved changes back before the table is refilled.
    table.close();
    table.setFileName({});
    const std::string source = FindTableSource(fileName);
    try {
        ReadTableFile(table, source);
        if (entry && !entry->order.empty())
            table.setIndexFieldNames(entry->order);
    } catch (...) {
        table.close();
        throw;
    }
    table.setFileName(source);
    if (entry)
        entry->loaded = true;
}

bool Tdm_onderhoud::LoadEditableTable(ds::Table& table, const std::string& fileName) {
    try {
        readBound(table, fileName, findEntry(table));
        return true;
    } catch (const std::exception&) {
        // A table that cannot be read stays closed; opening it later says why.
        return false;
    }
}

void Tdm_onderhoud::OpenTables() {
    for (Entry& entry : entries_)
        if (entry.table.get() != taal_)
            LoadEditableTable(*entry.table, pathOf(entry));
}

std::string Tdm_onderhoud::GetGroupCaption(int group) const {
    static const char* const captions[] = {"Algemeen", "Taal", "Mat", "Ketting", "Flexmat"};
    return group >= 0 && group < GroupCount() ? captions[group] : "";
}

std::string Tdm_onderhoud::GetGroupItems(int group) {
    std::string items;
    if (group == 1) {
        ds::Table& talen = *talen_;
        if (!talen.isActive())
            return items;
        const ds::Bookmark where = talen.bookmark();
        talen.disableControls();
        try {
            for (talen.first(); !talen.eof(); talen.next())
                items += talen.fieldByName("Taal").asString() + "\r\n";
            if (where.isSet() && talen.bookmarkValid(where))
                talen.gotoBookmark(where);
        } catch (...) {
            talen.enableControls();
            throw;
        }
        talen.enableControls();
        return items;
    }
    for (const Entry& entry : entries_)
        if (entry.group == group)
            items += entry.table->name() + "\r\n";
    return items;
}

void Tdm_onderhoud::openLanguage(const std::string& code) {
    if (code.empty() || code.find(rtl::PathDelim) != std::string::npos)
        throw Error("\"" + code + "\" is not a language of the language list");
    const std::string base = TaalDirectory() + code;
    const std::string file =
        FindFileIgnoringCase(base + ".CDS")
            .value_or(FindFileIgnoringCase(base + ".xml").value_or(base + ".xml"));
    // Reading closes the language shown before, which writes its unsaved changes back to
    // the file it was read from.
    rtl::FileNumberFormat fileFormat;
    ds::Table& taal = *taal_;
    taal.close();
    taal.setFileName({});
    try {
        ReadTableFile(taal, file);
        taal.setIndexFieldNames("Taalcode");
    } catch (...) {
        taal.close();
        throw;
    }
    taal.setFileName(file);
}

ds::Table* Tdm_onderhoud::OpenItem(int group, const std::string& itemName) {
    if (group < 0 || group >= GroupCount())
        return nullptr;
    rtl::FileNumberFormat fileFormat;
    if (group == 1) {
        current_ = taal_;
        openLanguage(itemName);
        return current_;
    }
    Entry* entry = findEntry(group, itemName);
    if (!entry)
        return nullptr;
    current_ = entry->table.get();
    if (!entry->loaded)
        readBound(*entry->table, pathOf(*entry), entry);
    else
        current_->open();
    return current_;
}

void Tdm_onderhoud::SaveCurrentTable() {
    if (!HasCurrentTable())
        throw Error("There is no open table to save");
    ds::Table& table = *current_;
    if (table.fileName().empty())
        throw Error(table.name() + ": the table is not bound to a file, so it has no place to "
                                   "be saved");
    // An override that exists in another spelling is written in place, so that there is never
    // more than one override of a table.
    const std::string target = FindFileIgnoringCase(OverrideFileName(table.fileName()))
                                   .value_or(OverrideFileName(table.fileName()));
    // The binding stays on the file the table was read from.
    SaveTable(table, target);
}

void Tdm_onderhoud::CancelCurrentTable() {
    if (!HasCurrentTable())
        return;
    current_->cancel();
    current_->cancelUpdates();
}

bool Tdm_onderhoud::HasCurrentTable() const {
    return current_ && current_->isActive();
}

bool Tdm_onderhoud::HasPendingChanges() const {
    return HasCurrentTable() && (current_->changeCount() > 0 || current_->isEditing());
}

void Tdm_onderhoud::UnbindCurrentTable() {
    if (current_)
        current_->setFileName({});
}

ds::Table& Tdm_onderhoud::Talen() const {
    return *talen_;
}

ds::Table& Tdm_onderhoud::Taal() const {
    return *taal_;
}

ds::Table* Tdm_onderhoud::FindTable(std::string_view name) const {
    for (const Entry& entry : entries_)
        if (SameName(entry.table->name(), name))
            return entry.table.get();
    return nullptr;
}

} // namespace zrn::common
