#include "Helpers.h"

#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "rtl/Error.h"
#include "rtl/NumberFormat.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zrn::ds;
using zrn::ds::test::AddRow;
using zrn::ds::test::Column;

namespace {

const std::string kFixtures = std::string(ZRN_FIXTURES_DIR) + "/dataset/";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* TypeName(FieldType t) {
    switch (t) {
    case FieldType::String:
        return "string";
    case FieldType::Float:
        return "r8";
    case FieldType::Integer:
        return "i4";
    case FieldType::Boolean:
        return "boolean";
    case FieldType::Nested:
        return "nested";
    }
    return "?";
}

// Everything a table holds, field for field and row for row, nested rows included.
void Dump(Table& t, std::ostream& out, const std::string& indent = "") {
    for (int i = 0; i < t.fieldCount(); ++i) {
        const Field& f = t.field(i);
        out << indent << "field " << f.name() << " " << TypeName(f.type()) << " " << f.size()
            << " '" << f.subtype() << "'" << (f.required() ? " required" : "") << "\n";
    }
    for (t.first(); !t.eof(); t.next()) {
        out << indent << "row\n";
        for (int i = 0; i < t.fieldCount(); ++i) {
            const Field& f = t.field(i);
            if (f.type() == FieldType::Nested)
                Dump(f.nestedTable(), out, indent + "  ");
            else
                out << indent << "  " << f.name() << "="
                    << (f.isNull() ? "null" : f.value().toString()) << "\n";
        }
    }
}

std::string Dump(Table& t) {
    std::ostringstream s;
    Dump(t, s);
    return s.str();
}

// A table of every kind, with a nested field and awkward values.
struct Sample {
    Table t{"sample"};
    Sample() {
        t.addStringField("naam", 40).setRequired(true);
        t.addFloatField("waarde");
        t.addIntegerField("aantal");
        t.addBooleanField("actief");
        Table& zones = t.addNestedField("zones").nestedTable();
        zones.addIntegerField("index");
        zones.addFloatField("lengte");
        Field& calc = t.addStringField("getoond", 10);
        calc.setFieldKind(FieldKind::Calculated);
        t.open();
        AddRow(t, {"<>\"&'\r\n\t\\ \xE2\x82\xAC", 0.1, -2147483647 - 1, true});
        AddRow(t, {"", 1e300, 2147483647, false});
        AddRow(t, {"leeg", nullptr, nullptr, nullptr});
        t.first();
        t.edit();
        zones.append();
        zones.field(0).setAsInteger(1);
        zones.field(1).setAsFloat(-0.000123);
        zones.post();
        zones.append();
        zones.post(); // a row of nulls
        t.post();
    }
};

} // namespace

TEST(XmlPacket, WritesTheClassicFormWithEveryCharacterReference) {
    struct DecimalComma {
        DecimalComma() { zrn::rtl::FormatSettings().decimalSeparator = ','; }
        ~DecimalComma() { zrn::rtl::FormatSettings().decimalSeparator = '.'; }
    } comma;
    Sample s;
    std::string xml = SaveToXml(s.t);
    EXPECT_EQ(
        xml.rfind("<?xml version=\"1.0\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\">", 0),
        0u);
    const char* expected[] = {
        "<FIELD attrname=\"naam\" fieldtype=\"string\" WIDTH=\"40\" required=\"true\"/>",
        "<FIELD attrname=\"waarde\" fieldtype=\"r8\"/>",
        "<FIELD attrname=\"aantal\" fieldtype=\"i4\"/>",
        "<FIELD attrname=\"actief\" fieldtype=\"boolean\"/>",
        "<FIELD attrname=\"zones\" fieldtype=\"nested\">",
        "<PARAMS/>",
        "naam=\"&lt;&gt;&quot;&amp;&apos;&#013;&#010;&#009;&#092; \xE2\x82\xAC\"",
        "waarde=\"0.1\" aantal=\"-2147483648\" actief=\"TRUE\"",
        "waarde=\"1e+300\" aantal=\"2147483647\" actief=\"FALSE\"",
        "<ROW naam=\"leeg\"/>",
        "<zones>",
        "<ROW index=\"1\" lengte=\"-0.000123\"/>",
        "<ROW/>",
    };
    for (const char* e : expected)
        EXPECT_NE(xml.find(e), std::string::npos) << e << "\n" << xml;
    EXPECT_EQ(xml.find("getoond"), std::string::npos); // calculated fields stay out

    Table back;
    LoadFromXml(back, xml);
    EXPECT_EQ(back.fieldCount(), 5);
    EXPECT_EQ(back.recordCount(), 3);
    back.first();
    EXPECT_EQ(back.fieldByName("zones").nestedTable().recordCount(), 2);
    EXPECT_EQ(back.fieldByName("naam").asString(), "<>\"&'\r\n\t\\ \xE2\x82\xAC");
    EXPECT_EQ(back.fieldByName("waarde").value(), Value(0.1));
}

TEST(XmlPacket, ReadsPacketsOfOtherWriters) {
    Table t;
    LoadFromFile(t, kFixtures + "invoer.xml");
    EXPECT_TRUE(t.isActive());
    EXPECT_EQ(t.recordCount(), 2); // rows with a RowState are plain rows
    t.first();
    EXPECT_EQ(t.fieldByName("project").asString(), "Lijn 'A' & <B>\r\ntab\tslash\\");
    EXPECT_TRUE(t.fieldByName("lengte").required());
    EXPECT_EQ(t.fieldByName("opmerking").asString(), "vrij"); // unknown type read as text
    EXPECT_EQ(t.fieldByName("opmerking").subtype(), "Text");
    Table& zones = t.fieldByName("zones").nestedTable();
    EXPECT_EQ(Column(zones, "temp"), (std::vector<std::string>{"-5.25", "", ""}));

    // Windows-1252 text from the classic tools becomes UTF-8.
    Table latin;
    LoadFromXml(latin, "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\">"
                       "<METADATA><FIELDS><FIELD attrname=\"t\" fieldtype=\"string\" WIDTH=\"9\"/>"
                       "</FIELDS><PARAMS/></METADATA><ROWDATA><ROW t=\"20\xB0"
                       "C\"/></ROWDATA></DATAPACKET>");
    EXPECT_EQ(latin.field(0).asString(), "20\xC2\xB0"
                                         "C");
}

TEST(XmlPacket, DeclaredFieldsTakeOnlyThemselvesFromTheFile) {
    Table t("cds_invoer");
    t.addFloatField("lengte");
    Field& zones = t.addNestedField("zones");
    zones.nestedTable().addFloatField("temp");
    zones.nestedTable().addIntegerField("index");
    Field& result = t.addFloatField("uit_resultaat");
    result.setFieldKind(FieldKind::InternalCalc); // may be missing from a template
    LoadFromFile(t, kFixtures + "invoer.xml");
    EXPECT_EQ(t.fieldCount(), 3);
    EXPECT_EQ(t.findField("project"), nullptr);
    t.first();
    EXPECT_DOUBLE_EQ(t.fieldByName("lengte").asFloat(), 20.5);
    EXPECT_FALSE(t.fieldByName("lengte").required()); // declared settings win
    EXPECT_EQ(Column(zones.nestedTable(), "index"), (std::vector<std::string>{"1", "2", "3"}));

    Table missing("cds_mat");
    missing.addStringField("mattype", 15);
    try {
        LoadFromFile(missing, kFixtures + "invoer.xml");
        FAIL();
    } catch (const zrn::Error& e) {
        std::string m = e.what();
        EXPECT_NE(m.find("mattype"), std::string::npos) << m;
        EXPECT_NE(m.find("invoer.xml"), std::string::npos) << m;
    }
    EXPECT_FALSE(missing.isActive());
}

TEST(XmlPacket, ReloadKeepsFieldObjectsOfFileFieldsThatStayTheSame) {
    Table t("wrijving");
    LoadFromFile(t, kFixtures + "invoer.xml");
    Field* lengte = &t.fieldByName("lengte");
    lengte->setDisplayFormat("0.00");
    LoadFromFile(t, kFixtures + "invoer.xml");
    EXPECT_EQ(&t.fieldByName("lengte"), lengte);
    EXPECT_EQ(lengte->text(), "20.50");
}

TEST(XmlPacket, AFilteredTableReloadsUnderItsFilter) {
    Table t("cds_geleiding_materiaal");
    LoadFromFile(t, kFixtures + "invoer.xml");
    t.setFilter("(lengte > 1) and (temp_zones >= 0) and (project <> 'another long project')");
    t.setFiltered(true);
    ASSERT_EQ(t.recordCount(), 1);
    LoadFromFile(t, kFixtures + "invoer.xml"); // as a module reopening its tables does
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(Column(t, "lengte"), (std::vector<std::string>{"20.5"}));
}

TEST(XmlPacket, BrokenPacketsAreRefusedAndLeaveTheTableClosedAndUnchanged) {
    const std::string head = "<?xml version=\"1.0\" standalone=\"yes\"?>";
    const std::string fields = "<METADATA><FIELDS><FIELD attrname=\"massa\" fieldtype=\"r8\"/>"
                               "<FIELD attrname=\"n\" fieldtype=\"i4\"/>"
                               "<FIELD attrname=\"b\" fieldtype=\"boolean\"/>"
                               "</FIELDS><PARAMS/></METADATA>";
    struct Case {
        std::string packet;
        const char* says;
    };
    const Case cases[] = {
        {"not xml at all <", "not a valid XML"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA>", "not a valid XML"},
        {head + "<TABLE/>", "no DATAPACKET"},
        {head + "<DATAPACKET Version=\"1.0\">" + fields + "</DATAPACKET>", "version \"1.0\""},
        {head + "<DATAPACKET>" + fields + "</DATAPACKET>", "version \"\""},
        {head + "<DATAPACKET Version=\"2.0\"><ROWDATA/></DATAPACKET>", "no METADATA"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA/></DATAPACKET>", "no FIELDS"},
        {head + "<DATAPACKET Version=\"2.0\">" + fields +
             "<ROWDATA><ROW massa=\"abc\"/></ROWDATA></DATAPACKET>",
         "'abc' for field 'massa'"},
        {head + "<DATAPACKET Version=\"2.0\">" + fields +
             "<ROWDATA><ROW massa=\"1,5\"/></ROWDATA></DATAPACKET>",
         "'1,5'"},
        {head + "<DATAPACKET Version=\"2.0\">" + fields +
             "<ROWDATA><ROW n=\"2147483648\"/></ROWDATA></DATAPACKET>",
         "'2147483648'"},
        {head + "<DATAPACKET Version=\"2.0\">" + fields +
             "<ROWDATA><ROW b=\"yes\"/></ROWDATA></DATAPACKET>",
         "'yes'"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD fieldtype=\"r8\"/>"
                "</FIELDS></METADATA></DATAPACKET>",
         "no attrname"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"a\" "
                "fieldtype=\"r8\"/><FIELD attrname=\"A\" fieldtype=\"i4\"/></FIELDS>"
                "</METADATA></DATAPACKET>",
         "twice"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"s\" "
                "fieldtype=\"string\" WIDTH=\"x\"/></FIELDS></METADATA></DATAPACKET>",
         "WIDTH"},
        {head + "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"z\" "
                "fieldtype=\"nested\"/></FIELDS></METADATA></DATAPACKET>",
         "no FIELDS"},
    };
    for (const auto& c : cases) {
        Table t;
        t.addStringField("oud", 5);
        t.open();
        AddRow(t, {"keep"});
        try {
            LoadFromXml(t, c.packet, "k_tandwiel.xml");
            ADD_FAILURE() << "accepted: " << c.packet;
        } catch (const zrn::Error& e) {
            std::string m = e.what();
            EXPECT_NE(m.find("k_tandwiel.xml"), std::string::npos) << m;
            EXPECT_NE(m.find(c.says), std::string::npos) << m;
        }
        EXPECT_FALSE(t.isActive());
        t.open();
        EXPECT_EQ(Column(t, "oud"), (std::vector<std::string>{"keep"})) << c.packet;
    }
}

TEST(BinaryPacket, KeepsEverythingTheXmlFormCarries) {
    Table xml;
    LoadFromFile(xml, kFixtures + "invoer.xml");
    Table bin;
    LoadFromBinary(bin, SaveToBinary(xml), "invoer.bin");
    EXPECT_EQ(Dump(bin), Dump(xml));
    // And back to XML gives the same text as the first table writes.
    EXPECT_EQ(SaveToXml(bin), SaveToXml(xml));

    Sample s;
    Table copy;
    LoadFromBytes(copy, SaveToBinary(s.t));
    Table expected;
    LoadFromXml(expected, SaveToXml(s.t));
    EXPECT_EQ(Dump(copy), Dump(expected));
    copy.first();
    EXPECT_EQ(copy.fieldByName("naam").asString(), "<>\"&'\r\n\t\\ \xE2\x82\xAC");
}

TEST(BinaryPacket, EveryTruncationAndCorruptionIsRefusedCleanly) {
    Sample s;
    const std::string bytes = SaveToBinary(s.t);
    for (size_t n = 0; n < bytes.size(); ++n) {
        Table t;
        t.addStringField("oud", 5);
        t.open();
        AddRow(t, {"keep"});
        EXPECT_THROW(LoadFromBinary(t, bytes.substr(0, n), "p.MAT"), zrn::Error) << n;
        EXPECT_FALSE(t.isActive()) << n;
        t.open();
        EXPECT_EQ(t.recordCount(), 1) << n;
    }
    auto refused = [](std::string data, const char* says) {
        Table t;
        try {
            LoadFromBinary(t, data, "p.MAT");
            ADD_FAILURE() << says;
        } catch (const zrn::Error& e) {
            EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
        }
    };
    refused(bytes + "x", "data after the rows");
    std::string wrongVersion = bytes;
    wrongVersion[8] = 2;
    refused(wrongVersion, "version 2");
    refused("<?xml version=\"1.0\"?>", "not a table file");
    // A row count far beyond the data: bytes 10..13 hold the field count.
    std::string huge = bytes.substr(0, 10) + std::string("\xFF\xFF\xFF\x7F", 4);
    refused(huge, "overruns");
}

TEST(PacketFile, FormFollowsTheExtensionAndWritesAtomically) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "zrn_dataset_packets";
    fs::remove_all(dir);
    fs::create_directories(dir);
    Sample s;
    for (const char* name : {"a.xml", "b.XML", "c.Xml"}) {
        SaveToFile(s.t, (dir / name).string());
        EXPECT_EQ(ReadFile((dir / name).string()).rfind("<?xml", 0), 0u) << name;
    }
    for (const char* name : {"d.MAT", "e.CDS", "f"}) {
        SaveToFile(s.t, (dir / name).string());
        EXPECT_TRUE(IsBinaryPacket(ReadFile((dir / name).string()))) << name;
        Table back;
        LoadFromFile(back, (dir / name).string());
        EXPECT_EQ(back.recordCount(), 3);
    }
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp");

    std::string missing = (dir / "nope" / "g.xml").string();
    EXPECT_THROW(SaveToFile(s.t, missing), zrn::Error);
    Table t;
    try {
        LoadFromFile(t, (dir / "absent.xml").string());
        FAIL();
    } catch (const zrn::Error& e) {
        EXPECT_NE(std::string(e.what()).find("absent.xml"), std::string::npos);
    }
    EXPECT_FALSE(t.isActive());
    fs::remove_all(dir);
}

TEST(PacketFile, AFailedWriteBackKeepsTheTableOpenWithItsChangesPending) {
    Sample s;
    s.t.setFileName("/nonexistent-folder/mat.CDS");
    s.t.first();
    s.t.edit();
    s.t.fieldByName("naam").setAsString("kept");
    s.t.post();
    const int pending = s.t.changeCount();
    ASSERT_GT(pending, 0);
    EXPECT_THROW(s.t.close(), zrn::Error);
    EXPECT_TRUE(s.t.isActive());
    EXPECT_EQ(s.t.changeCount(), pending);
    EXPECT_EQ(s.t.fieldByName("naam").asString(), "kept");
    s.t.setFileName("");
}

TEST(PacketFile, ABoundTableWritesItsChangesBackWhenClosed) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "zrn_dataset_bound";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string path = (dir / "mat.CDS").string();
    {
        Sample s;
        SaveToFile(s.t, path);
    }
    const std::string before = ReadFile(path);
    Table t;
    LoadFromFile(t, path);
    t.first();
    t.edit();
    t.fieldByName("naam").setAsString("unbound edit");
    t.post();
    t.close(); // not bound: nothing written
    EXPECT_EQ(ReadFile(path), before);

    LoadFromFile(t, path);
    t.setFileName(path);
    t.close(); // bound, but nothing changed
    EXPECT_EQ(ReadFile(path), before);
    t.open();
    t.first();
    t.edit();
    t.fieldByName("naam").setAsString("bound edit");
    t.post();
    t.close();
    EXPECT_EQ(t.changeCount(), 0);
    Table back;
    LoadFromFile(back, path);
    back.first();
    EXPECT_EQ(back.fieldByName("naam").asString(), "bound edit");
    fs::remove_all(dir);
}
