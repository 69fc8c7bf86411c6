#include "common/Algemeen.h"
#include "common/d_onderhoud.h"
#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "rtl/Error.h"
#include "rtl/Paths.h"

#include "TableFileFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace zrn::common {
namespace {

using test::Column;
using test::Exists;
using test::FileBytes;
using test::ScratchDir;

// The catalogue on a copy of tests/fixtures/catalogue: a few tiny tables (some of them
// spelt in another case than the program asks for), one that is not a packet, the rest
// missing; three languages of which "duits" has no file.
class CatalogueTest : public testing::Test {
protected:
    CatalogueTest() { dir_.copyFixture("catalogue"); }

    std::string dataFile(const std::string& name) const { return dir_.file("data/" + name); }
    std::string taalFile(const std::string& name) const { return dir_.file("taal/" + name); }
    std::unique_ptr<Tdm_onderhoud> make() const {
        return std::make_unique<Tdm_onderhoud>(dir_.file("data"), dir_.file("taal"));
    }

    ScratchDir dir_;
};

TEST_F(CatalogueTest, GroupsCaptionsAndItems) {
    auto cat = make();
    EXPECT_EQ(cat->GroupCount(), 5);
    const char* captions[] = {"Algemeen", "Taal", "Mat", "Ketting", "Flexmat"};
    for (int group = 0; group < 5; ++group)
        EXPECT_EQ(cat->GetGroupCaption(group), captions[group]);
    EXPECT_EQ(cat->GetGroupCaption(5), "");

    EXPECT_EQ(cat->GetGroupItems(0), "Talen\r\nEenheden\r\nProductmateriaal\r\n"
                                     "Geleidingmateriaal\r\nSmering\r\nWrijving\r\n");
    EXPECT_EQ(cat->GetGroupItems(1), "engels\r\nnederlands\r\nduits\r\n");
    EXPECT_EQ(cat->GetGroupItems(2), "Matten\r\nMatserie\r\nMatTandwielen\r\nMatSnelheid\r\n"
                                     "MatWielafstand\r\nMatOpstart\r\nMatSupport\r\nMatTCF\r\n");
    EXPECT_EQ(cat->GetGroupItems(3), "Kettingen\r\nKettingMateriaal\r\nKettingTandwielen\r\n"
                                     "KettingSnelheid\r\nKettingOpstart\r\nPVlimiet\r\n");
    EXPECT_EQ(cat->GetGroupItems(4), "Flexmattype\r\nFlexmatten\r\nFlexmatTandwiel\r\n"
                                     "FlexmatDrive\r\nFlexmatRadiusBreedteverhouding\r\n");
    EXPECT_EQ(cat->GetGroupItems(-1), "");
}

TEST_F(CatalogueTest, TablesReadAtCreationWithTheirDeclaredFields) {
    auto cat = make();
    EXPECT_EQ(cat->DataDirectory(), dir_.file("data/"));
    EXPECT_EQ(cat->TaalDirectory(), dir_.file("taal/"));
    EXPECT_FALSE(cat->HasCurrentTable());

    // Bound to the file actually read, found whatever its case.
    ds::Table& kettingen = *cat->FindTable("Kettingen");
    ASSERT_TRUE(kettingen.isActive());
    EXPECT_EQ(kettingen.fileName(), dataFile("ketting.xml"));
    EXPECT_EQ(kettingen.fieldByName("wrijv_coef_onder").displayLabel(), "Wrijv_coef_boven");
    EXPECT_EQ(kettingen.fieldByName("wrijv_coef_boven").displayLabel(), "Wrijv_coef_onder");
    EXPECT_TRUE(kettingen.fieldByName("CM").required());
    EXPECT_FALSE(kettingen.fieldByName("materiaal_code").required());
    EXPECT_EQ(kettingen.fieldByName("max_werk_bel").type(), ds::FieldType::Integer);

    ds::Table& wielafstand = *cat->FindTable("MatWielafstand");
    ASSERT_TRUE(wielafstand.isActive());
    EXPECT_EQ(wielafstand.fieldCount(), 5); // the file's extra field is not taken
    EXPECT_EQ(wielafstand.fieldByName("afst_vanaf").displayLabel(), "Bel. perc. vanaf");
    EXPECT_EQ(wielafstand.fieldByName("afst_tm").displayLabel(), "Bel. perc. tot en met");
    EXPECT_EQ(wielafstand.fieldByName("aantal_wielen").displayLabel(), "wielafstand");
    EXPECT_TRUE(wielafstand.fieldByName("matserie").required());

    EXPECT_EQ(Column(*cat->FindTable("MatTandwielen"), "tanden"), "8|12|16");
    EXPECT_EQ(Column(cat->Talen(), "Display"), "English|Nederlands|Deutsch");

    // Missing or unreadable files leave their tables closed, without an error.
    for (const char* name : {"Geleidingmateriaal", "Smering", "Wrijving", "MatTCF", "PVlimiet"}) {
        EXPECT_FALSE(cat->FindTable(name)->isActive()) << name;
    }
}

TEST_F(CatalogueTest, OpenItemPerGroup) {
    auto cat = make();
    struct Case {
        int group;
        const char* item;
        const char* field;
        const char* column;
    };
    const Case cases[] = {
        {0, "Productmateriaal", "mat_code", "S_PET|S_OTHER"},
        {0, "Eenheden", "eenh_code", "MM"},
        {1, "nederlands", "Waarde", "&Bestand|&Taal"}, // ordered by Taalcode
        {2, "MatTandwielen", "tanden", "8|12|16"},
        {3, "Kettingen", "ketting", "KS 815"},
        {4, "Flexmatten", "flexmat", "F100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ds::Table* table = cat->OpenItem(c.group, c.item);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(cat->CurrentTable(), table);
        EXPECT_TRUE(cat->HasCurrentTable());
        EXPECT_FALSE(cat->HasPendingChanges());
        EXPECT_EQ(Column(*table, c.field), c.column);
    }
    EXPECT_EQ(cat->Taal().fileName(), taalFile("nederlands.xml"));
    EXPECT_FALSE(cat->Taal().fieldByName("TaalId").visible());

    // An unknown item, or a table asked for in another group, gives nothing and changes
    // nothing.
    ds::Table* before = cat->CurrentTable();
    EXPECT_EQ(cat->OpenItem(0, "Nothing"), nullptr);
    EXPECT_EQ(cat->OpenItem(0, "Matten"), nullptr);
    EXPECT_EQ(cat->OpenItem(7, "Matten"), nullptr);
    EXPECT_EQ(cat->CurrentTable(), before);
}

TEST_F(CatalogueTest, OpeningATableThatCouldNotBeReadReportsWhy) {
    auto cat = make();
    struct Case {
        int group;
        const char* item;
        std::string file;
    };
    const Case cases[] = {
        {0, "Geleidingmateriaal", dataFile("geleiding_materiaal.xml")},
        {0, "Smering", dataFile("smering.xml")},
        {1, "duits", taalFile("duits.xml")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        try {
            cat->OpenItem(c.group, c.item);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(c.file), std::string::npos) << e.what();
        }
        EXPECT_FALSE(cat->HasCurrentTable());
        EXPECT_FALSE(cat->HasPendingChanges());
    }
}

TEST_F(CatalogueTest, SaveWritesTheOverrideAndKeepsTheBinding) {
    const std::string delivered = FileBytes(dataFile("mat.xml"));
    auto cat = make();
    ds::Table& matten = *cat->OpenItem(2, "Matten");
    matten.edit();
    matten.fieldByName("massa").setAsFloat(9.5);
    EXPECT_TRUE(cat->HasPendingChanges());

    cat->SaveCurrentTable();
    EXPECT_FALSE(cat->HasPendingChanges());
    EXPECT_EQ(matten.fileName(), dataFile("mat.xml"));
    EXPECT_TRUE(ds::IsBinaryPacket(FileBytes(dataFile("mat.CDS"))));
    EXPECT_EQ(FileBytes(dataFile("mat.xml")), delivered);

    // The calculation modules read the override from now on.
    ds::Table fresh;
    LoadTable(fresh, dataFile("mat.xml"));
    EXPECT_EQ(Column(fresh, "massa"), "9.5|0.25");

    // A second save goes to the same override; a later catalogue is bound to it.
    matten.last();
    matten.edit();
    matten.fieldByName("massa").setAsFloat(1.25);
    cat->SaveCurrentTable();
    cat.reset();
    EXPECT_EQ(FileBytes(dataFile("mat.xml")), delivered);
    cat = make();
    EXPECT_EQ(cat->FindTable("Matten")->fileName(), dataFile("mat.CDS"));
    EXPECT_EQ(Column(*cat->FindTable("Matten"), "massa"), "9.5|1.25");
}

TEST_F(CatalogueTest, OverrideSpeltInAnotherCaseIsSavedInPlace) {
    {
        ds::Table matten;
        LoadTable(matten, dataFile("mat.xml"));
        SaveTable(matten, dataFile("mat.cds"));
    }
    auto cat = make();
    ds::Table& matten = *cat->OpenItem(2, "Matten");
    EXPECT_EQ(matten.fileName(), dataFile("mat.cds"));
    matten.edit();
    matten.fieldByName("massa").setAsFloat(3);
    cat->SaveCurrentTable();
    EXPECT_FALSE(Exists(dataFile("mat.CDS")));
    ds::Table fresh;
    LoadTable(fresh, dataFile("mat.xml"));
    EXPECT_EQ(Column(fresh, "massa"), "3|0.25");
}

TEST_F(CatalogueTest, CancelRestoresTheTableAsLastSaved) {
    auto cat = make();
    ds::Table& matten = *cat->OpenItem(2, "Matten");
    matten.edit();
    matten.fieldByName("massa").setAsFloat(9.5);
    cat->SaveCurrentTable();

    matten.edit();
    matten.fieldByName("massa").setAsFloat(1);
    matten.post();
    matten.append();
    matten.fieldByName("mattype").setAsString("NEW");
    EXPECT_TRUE(cat->HasPendingChanges());
    cat->CancelCurrentTable();
    EXPECT_FALSE(cat->HasPendingChanges());
    EXPECT_EQ(matten.state(), ds::TableState::Browse);
    EXPECT_EQ(Column(matten, "massa"), "9.5|0.25");
}

TEST_F(CatalogueTest, RequiredTextMissingKeepsTheLanguageRowInEdit) {
    auto cat = make();
    ds::Table& taal = *cat->OpenItem(1, "engels");
    taal.append();
    EXPECT_EQ(taal.fieldByName("TaalId").asString(), " ");
    taal.fieldByName("Taalcode").setAsString("S_NEW");
    EXPECT_THROW(cat->SaveCurrentTable(), Error);
    EXPECT_THROW(taal.post(), Error);
    EXPECT_EQ(taal.state(), ds::TableState::Insert);
    EXPECT_TRUE(cat->HasPendingChanges());
    taal.fieldByName("Waarde").setAsString("New");
    taal.post();
    EXPECT_EQ(Column(taal, "Taalcode"), "S_FILE|S_LANGUAGE|S_NEW");
}

// Unsaved edits of the language shown go to its file when another language is opened. The
// file keeps the form of its extension, so the language service can still read it.
TEST_F(CatalogueTest, LanguageEditsWrittenBackWhenAnotherLanguageOpens) {
    auto cat = make();
    ds::Table& taal = *cat->OpenItem(1, "engels");
    ASSERT_TRUE(taal.locate("Taalcode", {"S_FILE"}));
    taal.edit();
    taal.fieldByName("Waarde").setAsString("&Document");
    taal.post();

    cat->OpenItem(1, "nederlands");
    EXPECT_EQ(taal.fileName(), taalFile("nederlands.xml"));
    EXPECT_EQ(Column(taal, "Waarde"), "&Bestand|&Taal");

    const std::string written = FileBytes(taalFile("engels.xml"));
    EXPECT_EQ(written.rfind("<?xml", 0), 0u);
    ds::Table engels;
    LoadTable(engels, taalFile("engels.xml"));
    ASSERT_TRUE(engels.locate("Taalcode", {"S_FILE"}));
    EXPECT_EQ(engels.fieldByName("Waarde").asString(), "&Document");
    EXPECT_EQ(Column(engels, "TaalId"), " | ");
}

TEST_F(CatalogueTest, LanguageOverridePreferred) {
    auto cat = make();
    ds::Table& taal = *cat->OpenItem(1, "engels");
    ASSERT_TRUE(taal.locate("Taalcode", {"S_FILE"}));
    taal.edit();
    taal.fieldByName("Waarde").setAsString("&Saved");
    cat->SaveCurrentTable();
    EXPECT_EQ(taal.fileName(), taalFile("engels.xml"));

    cat->OpenItem(1, "nederlands");
    cat->OpenItem(1, "engels");
    EXPECT_EQ(taal.fileName(), taalFile("engels.CDS"));
    EXPECT_EQ(Column(taal, "Waarde"), "&Saved|&Language");
}

TEST_F(CatalogueTest, ClosingWritesBackUnsavedEditsUnlessUnbound) {
    const std::string delivered = FileBytes(dataFile("product_materiaal.xml"));
    {
        // Edited, left without saving while another item is shown: written back at the end,
        // as XML since the file is one.
        auto cat = make();
        ds::Table& matten = *cat->OpenItem(2, "Matten");
        matten.edit();
        matten.fieldByName("massa").setAsFloat(4.5);
        matten.post();
        cat->OpenItem(0, "Productmateriaal");
        ds::Table& prod = *cat->CurrentTable();
        prod.edit();
        prod.fieldByName("mat_wrijvings_code").setAsString("W_X");
        prod.post();
        // The window drops the edits of the table it shows before it goes.
        cat->UnbindCurrentTable();
    }
    EXPECT_EQ(FileBytes(dataFile("product_materiaal.xml")), delivered);
    EXPECT_FALSE(Exists(dataFile("mat.CDS")));
    EXPECT_EQ(FileBytes(dataFile("mat.xml")).rfind("<?xml", 0), 0u);
    ds::Table matten;
    LoadTable(matten, dataFile("mat.xml"));
    EXPECT_EQ(Column(matten, "massa"), "4.5|0.25");
}

TEST_F(CatalogueTest, DirectoriesAreSetWithoutReadingAndReadByOpenTables) {
    auto cat = make();
    std::filesystem::create_directories(dir_.file("empty"));
    cat->SetDataDirectory(dir_.file("empty"));
    EXPECT_EQ(cat->DataDirectory(), dir_.file("empty/"));
    EXPECT_EQ(cat->TaalDirectory(), dir_.file("taal/"));
    EXPECT_TRUE(cat->FindTable("Matten")->isActive());

    cat->OpenTables();
    EXPECT_FALSE(cat->FindTable("Matten")->isActive());
    EXPECT_TRUE(cat->Talen().isActive());

    // Without a language list there are no languages to offer.
    cat->SetTaalDirectory(dir_.file("empty"));
    cat->OpenTables();
    EXPECT_FALSE(cat->Talen().isActive());
    EXPECT_EQ(cat->GetGroupItems(1), "");
}

TEST_F(CatalogueTest, DefaultDirectoriesBesideTheProgram) {
    rtl::SetExeDirectory(dir_.path());
    Tdm_onderhoud cat;
    rtl::SetExeDirectory({});
    EXPECT_EQ(cat.DataDirectory(), dir_.file("data/"));
    EXPECT_EQ(cat.TaalDirectory(), dir_.file("taal/"));
    EXPECT_EQ(Column(cat.Talen(), "Taal"), "engels|nederlands|duits");
}

} // namespace
} // namespace zrn::common
