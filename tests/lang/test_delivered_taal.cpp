// Checks of the language directory delivered with the program (taal/ of the source tree).

#include "TaalTestSupport.h"

#include "dataset/Packet.h"
#include "dataset/Table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace zrn::lang::test {
namespace {

namespace fs = std::filesystem;

const std::string kTaalDir = std::string(ZRN_SOURCE_DIR) + "/taal/";

const char* const kLanguages[] = {"engels",    "nederlands", "duits",    "frans",
                                  "italiaans", "spaans",     "portugees"};

const char* const kUnitCodes[] = {"MM",   "M",    "M/MIN", "N",  "N/M", "NM",
                                  "WATT", "KG/M", "KG/M2", "GR", "C"};

//! The language keys a source text uses: every string literal that is a whole key, an
//! "S_" followed by capitals, digits, "_" and "!" ("S_HIGH_CHAINSPEED!"). Keys built at
//! run time ("S_" + code) are not seen; those come from the data files.
std::set<std::string> KeysIn(const std::string& source) {
    static const std::regex literal("\"(S_[A-Z0-9_!]+)\"");
    std::set<std::string> keys;
    for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
        keys.insert((*it)[1].str());
    return keys;
}

std::set<std::string> KeysOfSourceTree() {
    std::set<std::string> keys;
    for (const auto& entry :
         fs::recursive_directory_iterator(std::string(ZRN_SOURCE_DIR) + "/src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        keys.merge(KeysIn(text.str()));
    }
    return keys;
}

//! The values of one field of every row of a table file.
std::vector<std::string> Column(const std::string& path, const std::string& field) {
    ds::Table table(path);
    ds::LoadFromFile(table, path);
    std::vector<std::string> values;
    ds::Field& f = table.fieldByName(field);
    for (table.first(); !table.eof(); table.next())
        values.push_back(f.asString());
    return values;
}

TEST(DeliveredTaal, KeyPatternFindsWholeKeyLiteralsOnly) {
    const std::string sample = R"(GetText("S_FILE"); Text("S_HIGH_CHAINSPEED!"); "S_"; )"
                               R"("S_lower"; "XS_NOT"; "S_A B"; "W_PET"; key == "S_2ND")";
    EXPECT_EQ(KeysIn(sample), (std::set<std::string>{"S_FILE", "S_HIGH_CHAINSPEED!", "S_2ND"}));
}

TEST(DeliveredTaal, LanguageListNamesTheSevenLanguages) {
    const auto codes = Column(kTaalDir + "talen.xml", "Taal");
    EXPECT_EQ(std::set<std::string>(codes.begin(), codes.end()),
              std::set<std::string>(std::begin(kLanguages), std::end(kLanguages)));
}

TEST(DeliveredTaal, EveryLanguageFileHoldsTheSameKeys) {
    const auto reference = Column(kTaalDir + "engels.xml", "Taalcode");
    const std::set<std::string> referenceKeys(reference.begin(), reference.end());
    EXPECT_EQ(referenceKeys.size(), reference.size()) << "engels.xml repeats a key";
    for (const char* language : kLanguages) {
        const auto keys = Column(kTaalDir + language + ".xml", "Taalcode");
        std::set<std::string> set(keys.begin(), keys.end());
        std::vector<std::string> missing, extra;
        std::set_difference(referenceKeys.begin(), referenceKeys.end(), set.begin(), set.end(),
                            std::back_inserter(missing));
        std::set_difference(set.begin(), set.end(), referenceKeys.begin(), referenceKeys.end(),
                            std::back_inserter(extra));
        EXPECT_TRUE(missing.empty())
            << language << " lacks " << missing.size() << " keys, the first " << missing.front();
        EXPECT_TRUE(extra.empty()) << language << " has " << extra.size()
                                   << " keys engels.xml lacks, the first " << extra.front();
    }
}

TEST(DeliveredTaal, EveryKeyTheProgramUsesHasATextInEveryLanguage) {
    const std::set<std::string> keys = KeysOfSourceTree();
    TTaalComponent service;
    service.SetTaalDirectory(kTaalDir);
    for (const char* language : kLanguages) {
        service.SetTaal(language);
        ASSERT_EQ(service.Taal(), language);
        for (const std::string& key : keys)
            EXPECT_FALSE(TaalText(service, key).empty()) << language << ": " << key;
    }
}

class DeliveredUnits : public TaalTest {
protected:
    void SetUp() override {
        TaalTest::SetUp();
        service.SetTaalDirectory(kTaalDir);
    }
    TTaalComponent service;
};

TEST_F(DeliveredUnits, EveryUnitCodeHasBothLabels) {
    for (TEenheid eenheid : {ehMetrisch, ehImperial}) {
        service.SetEenheid(eenheid);
        for (const char* code : kUnitCodes)
            EXPECT_FALSE(TaalUnitLabel(service, code).empty()) << code << " in " << eenheid;
    }
}

TEST_F(DeliveredUnits, EveryFormulaPairRoundTrips) {
    for (const char* code : kUnitCodes) {
        // The evaluator writes its results with 12 decimals: that resolution, scaled by the
        // formula back, comes on top of the relative tolerance.
        const double slope = std::abs(service.ToMetric(code, 1) - service.ToMetric(code, 0));
        const double resolution = 1e-12 * (1 + slope);
        std::vector<double> values = {0.001, 1, 25.4, 1000};
        if (std::string(code) == "C")
            values.push_back(-40);
        for (double v : values) {
            const double back = service.ToMetric(code, service.ToImperial(code, v));
            EXPECT_NEAR(back, v, 1e-9 * std::abs(v) + resolution) << code << " " << v;
        }
    }
}

TEST_F(DeliveredUnits, ConversionsArePhysicallyRight) {
    EXPECT_NEAR(service.ToImperial("MM", 25.4), 1, 1e-9);
    EXPECT_NEAR(service.ToMetric("MM", 1), 25.4, 1e-9);
    EXPECT_NEAR(service.ToImperial("C", 0), 32, 1e-9);
    EXPECT_NEAR(service.ToImperial("C", 100), 212, 1e-9);
    EXPECT_NEAR(service.ToImperial("C", -40), -40, 1e-9);
    EXPECT_NEAR(service.ToImperial("M", 1), 3.28084, 1e-5);
    EXPECT_NEAR(service.ToImperial("M/MIN", 1), 3.28084, 1e-5);
}

} // namespace
} // namespace zrn::lang::test
