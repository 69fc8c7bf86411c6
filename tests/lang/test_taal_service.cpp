#include "TaalTestSupport.h"

#include "lang/ucalcul.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace zrn::lang::test {
namespace {

namespace fs = std::filesystem;

using ServiceTest = TaalTest;

std::string Text(TTaalComponent& service, const std::string& key) {
    return TaalText(service, key);
}

std::string Label(TTaalComponent& service, const std::string& code) {
    return TaalUnitLabel(service, code);
}

//! A copy of the fixture directory whose files a test may change.
class ScratchDir {
public:
    ScratchDir() : path_(fs::temp_directory_path() / ("zrn_lang_" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
        for (const char* name : {"eenheden.xml", "engels.xml", "nederlands.xml"})
            fs::copy_file(FixtureTaalDir() + name, path_ / name);
    }
    ~ScratchDir() { fs::remove_all(path_); }
    std::string dir() const { return path_.string() + "/"; }
    //! Replaces the metric label of "MM" in the unit file.
    void RelabelMillimetre(const std::string& label) {
        std::ifstream in(path_ / "eenheden.xml");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const std::string from = "metrisch=\"" + current_ + "\"";
        text.replace(text.find(from), from.size(), "metrisch=\"" + label + "\"");
        current_ = label;
        std::ofstream(path_ / "eenheden.xml") << text;
    }

private:
    fs::path path_;
    std::string current_ = "mm";
};

TEST_F(ServiceTest, NothingIsReadWhileLoadingAndTheDirectoryReadsBothFilesWithOneNotice) {
    TTaalComponent service;
    TTaalObserver observer;
    int told = 0;
    std::string textWhenTold, labelWhenTold;
    observer.OnTaalChange = [&](TTaalObserver& sender, ITaalSubject& subject) {
        EXPECT_EQ(&sender, &observer);
        EXPECT_EQ(&subject, static_cast<ITaalSubject*>(&service));
        ++told;
        subject.GetText("S_LANGUAGE", textWhenTold);
        subject.GetUnitLabel("MM", labelWhenTold);
    };

    service.SetLoading(true);
    service.SetTaal("engels");
    service.SetTaalDirectory(FixtureTaalDir());
    service.SetLoading(false);
    std::string text;
    EXPECT_FALSE(service.GetText("S_LANGUAGE", text));
    EXPECT_FALSE(service.LastFailure().empty());
    EXPECT_THROW(Text(service, "S_LANGUAGE"), Error);

    observer.SetTaalComponent(&service); // an observer is told once when it attaches
    EXPECT_EQ(told, 1);
    service.SetTaalDirectory(FixtureTaalDir());
    EXPECT_EQ(told, 2);
    EXPECT_EQ(textWhenTold, "Language");
    EXPECT_EQ(labelWhenTold, "mm");
}

TEST_F(ServiceTest, DirectoryIsCompletedWithTheProgramFolderUnlessAbsolute) {
    rtl::SetExeDirectory(ZRN_FIXTURES_DIR);
    TTaalComponent service;
    service.SetLoading(true);
    service.SetTaal("engels");
    service.SetLoading(false);

    service.SetTaalDirectory("lang");
    EXPECT_EQ(service.TaalDirectory(), std::string(ZRN_FIXTURES_DIR) + "/lang/");
    EXPECT_EQ(Text(service, "S_FILE"), "&File");

    const std::string absolute = std::string(ZRN_FIXTURES_DIR) + "/lang";
    service.SetTaalDirectory(absolute);
    EXPECT_EQ(service.TaalDirectory(), absolute + "/");
}

TEST_F(ServiceTest, EveryUnitSwitchRereadsTheUnitFileAndNotifies) {
    ScratchDir scratch;
    TTaalComponent service;
    service.SetTaalDirectory(scratch.dir());
    TTaalObserver observer;
    int told = 0;
    observer.OnTaalChange = [&](TTaalObserver&, ITaalSubject&) { ++told; };
    observer.SetTaalComponent(&service);
    told = 0;

    scratch.RelabelMillimetre("millimetre");
    service.SetEenheid(ehMetrisch); // the current system again: still a reread
    EXPECT_EQ(Label(service, "MM"), "millimetre");
    scratch.RelabelMillimetre("millimetres");
    service.SetEenheid(ehImperial);
    EXPECT_EQ(Label(service, "MM"), "inch");
    service.SetEenheid(ehMetrisch);
    EXPECT_EQ(Label(service, "MM"), "millimetres");
    EXPECT_EQ(told, 3);
}

TEST_F(ServiceTest, LanguageWithoutFileKeepsTheTextsAndTellsNobody) {
    TTaalComponent service;
    OpenFixture(service);
    TTaalObserver observer;
    int told = 0;
    observer.OnTaalChange = [&](TTaalObserver&, ITaalSubject&) { ++told; };
    observer.SetTaalComponent(&service);
    told = 0;

    service.SetTaal("klingon");
    EXPECT_EQ(service.Taal(), "klingon");
    EXPECT_EQ(Text(service, "S_LANGUAGE"), "Language");
    EXPECT_EQ(told, 0);

    // Field names of the file are matched without regard to case.
    service.SetTaal("nederlands");
    EXPECT_EQ(Text(service, "S_LANGUAGE"), "Taal");
    EXPECT_EQ(Text(service, "S_FILE"), "&Bestand");
    EXPECT_EQ(told, 1);
}

TEST_F(ServiceTest, TextsAndLabelsMatchKeysExactly) {
    TTaalComponent service;
    OpenFixture(service);
    EXPECT_EQ(Text(service, "S_FILE"), "&File");
    EXPECT_EQ(Text(service, "s_file"), "");
    EXPECT_EQ(Text(service, "S_NO_SUCH_KEY"), "");

    EXPECT_EQ(Label(service, "C"), "°C");
    EXPECT_EQ(Label(service, "mm"), "");
    service.SetEenheid(ehImperial);
    EXPECT_EQ(Label(service, "C"), "°F");
    EXPECT_EQ(Label(service, "XX"), "");
}

TEST_F(ServiceTest, MissingUnitFileIsReportedAndTheOldUnitsStay) {
    TTaalComponent fresh;
    try {
        fresh.SetTaalDirectory(FixtureTaalDir() + "missing");
        FAIL() << "a directory without unit file was accepted";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Taaldirectory niet gevonden");
    }
    std::string label;
    EXPECT_FALSE(fresh.GetUnitLabel("MM", label));
    EXPECT_THROW(fresh.ToImperial("MM", 1), Error);

    TTaalComponent service;
    OpenFixture(service);
    EXPECT_THROW(service.SetTaalDirectory(FixtureTaalDir() + "missing"), Error);
    EXPECT_EQ(Label(service, "MM"), "mm");
    EXPECT_THROW(service.SetEenheid(ehImperial), Error);
    EXPECT_EQ(Label(service, "MM"), "inch"); // the system changed, the rows stayed
}

TEST_F(ServiceTest, ObserversAreToldOnceEachInAttachOrder) {
    TTaalComponent service;
    OpenFixture(service);
    std::vector<std::string> log;
    TTaalObserver a, b, c;
    LogInto(a, log, "a");
    LogInto(b, log, "b");
    LogInto(c, log, "c");
    c.SetTaalComponent(&service);
    a.SetTaalComponent(&service);
    b.SetTaalComponent(&service);
    a.SetTaalComponent(&service); // again: attached once, but told again at once
    EXPECT_EQ(service.ObserverCount(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"c", "a", "b", "a"}));

    log.clear();
    EXPECT_TRUE(service.NotifyObservers());
    EXPECT_EQ(log, (std::vector<std::string>{"c", "a", "b"}));

    log.clear();
    a.SetTaalComponent(nullptr);
    EXPECT_EQ(a.GetSubject(), nullptr);
    service.SetTaal("nederlands");
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b"}));
}

TEST_F(ServiceTest, FailingObserverEndsTheWalkAndTheErrorReachesTheCaller) {
    TTaalComponent service;
    OpenFixture(service);
    std::vector<std::string> log;
    TTaalObserver a, failing, c;
    LogInto(a, log, "a");
    LogInto(c, log, "c");
    bool fail = false;
    failing.OnTaalChange = [&](TTaalObserver&, ITaalSubject&) {
        log.push_back("failing");
        if (fail)
            throw Error("relabel failed");
    };
    a.SetTaalComponent(&service);
    failing.SetTaalComponent(&service);
    c.SetTaalComponent(&service);
    fail = true;
    log.clear();

    EXPECT_FALSE(service.NotifyObservers());
    EXPECT_EQ(service.LastFailure(), "relabel failed");
    EXPECT_EQ(log, (std::vector<std::string>{"a", "failing"}));

    try {
        service.SetEenheid(ehImperial);
        FAIL() << "the failure of an observer was swallowed";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "relabel failed");
    }
}

TEST_F(ServiceTest, ConversionsFollowTheUnitFile) {
    TTaalComponent service;
    OpenFixture(service);
    struct Case {
        const char* code;
        bool toImperial;
        double value;
        double expected;
    };
    const Case cases[] = {
        {"MM", true, 25.4, 1},        {"MM", false, 2, 50.8}, {"C", true, 0, 32},
        {"C", true, -40, -40},        {"C", false, 212, 100}, {"XX", true, 12, 0},
        {"XX", false, 12, 0},         {"", true, 12, 0},      {"MM", true, 1e-20, 0},
        {"MM", false, 1e20, 2.54e21},
    };
    for (const Case& c : cases) {
        const double got =
            c.toImperial ? service.ToImperial(c.code, c.value) : service.ToMetric(c.code, c.value);
        EXPECT_NEAR(got, c.expected, 1e-9 * std::max(1.0, std::abs(c.expected)))
            << c.code << (c.toImperial ? " to imperial of " : " to metric of ") << c.value;
    }
}

TEST_F(ServiceTest, BadFormulaIsAnErrorNamingItAndTheSeparatorComesBack) {
    TTaalComponent service;
    OpenFixture(service);
    rtl::FormatSettings().decimalSeparator = ',';
    const std::pair<const char*, const char*> cases[] = {{"BAD", "x*"}, {"TXT", "\"abc\""}};
    for (const auto& [code, formula] : cases) {
        try {
            service.ToImperial(code, 1);
            ADD_FAILURE() << code << " converted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Invalid conversion function: ") + formula);
        }
        EXPECT_EQ(rtl::FormatSettings().decimalSeparator, ',');
    }
}

TEST_F(ServiceTest, DecimalCommaDoesNotReachTheFormula) {
    TTaalComponent service;
    OpenFixture(service);
    rtl::FormatSettings().decimalSeparator = ',';
    rtl::FormatSettings().thousandSeparator = '.';
    EXPECT_NEAR(service.ToImperial("MM", 0.5), 0.5 / 25.4, 1e-12);
    const auto& lines = service.Calculator().VariableLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "x=0.5"), lines.end());
    EXPECT_EQ(rtl::FormatSettings().decimalSeparator, ',');
    EXPECT_EQ(rtl::FormatSettings().thousandSeparator, '.');
}

TEST_F(ServiceTest, ServiceDestroyedFirstLeavesEveryObserverWithoutIt) {
    auto service = std::make_unique<TTaalComponent>();
    OpenFixture(*service);
    TTaalObserver first, second;
    first.SetTaalComponent(service.get());
    second.SetTaalComponent(service.get());
    service.reset();
    for (TTaalObserver* o : {&first, &second}) {
        EXPECT_EQ(o->TaalComponent(), nullptr);
        EXPECT_EQ(o->GetSubject(), nullptr);
    }
}

TEST_F(ServiceTest, ObserverDestroyedFirstLeavesTheList) {
    TTaalComponent service;
    OpenFixture(service);
    int told = 0;
    {
        TTaalObserver gone;
        gone.OnTaalChange = [&](TTaalObserver&, ITaalSubject&) { ++told; };
        gone.SetTaalComponent(&service);
        EXPECT_EQ(service.ObserverCount(), 1);
    }
    EXPECT_EQ(service.ObserverCount(), 0);
    EXPECT_TRUE(service.NotifyObservers());
    EXPECT_EQ(told, 1);
}

TEST_F(ServiceTest, MovingToAnotherServiceLeavesTheFirst) {
    TTaalComponent one, other;
    OpenFixture(one);
    OpenFixture(other);
    {
        TTaalObserver observer;
        observer.SetTaalComponent(&one);
        observer.SetTaalComponent(&other);
        EXPECT_EQ(one.ObserverCount(), 0);
        EXPECT_EQ(other.ObserverCount(), 1);
    }
    EXPECT_EQ(other.ObserverCount(), 0);
    EXPECT_TRUE(one.NotifyObservers());
}

TEST_F(ServiceTest, ObserverWhoseFirstRelabelFailsStaysAttachedAndKnowsIt) {
    TTaalComponent service;
    OpenFixture(service);
    {
        TTaalObserver observer;
        observer.OnTaalChange = [](TTaalObserver&, ITaalSubject&) { throw Error("no labels"); };
        EXPECT_THROW(observer.SetTaalComponent(&service), Error);
        EXPECT_EQ(observer.GetSubject(), static_cast<ITaalSubject*>(&service));
        EXPECT_EQ(service.ObserverCount(), 1);
    }
    EXPECT_EQ(service.ObserverCount(), 0);
}

TEST_F(ServiceTest, ObserverBeingLoadedStaysQuiet) {
    TTaalComponent service;
    OpenFixture(service);
    TTaalObserver observer;
    int told = 0;
    observer.OnTaalChange = [&](TTaalObserver&, ITaalSubject&) { ++told; };
    observer.SetLoading(true);
    observer.SetTaalComponent(&service);
    EXPECT_TRUE(service.NotifyObservers());
    EXPECT_EQ(told, 0);
    observer.SetLoading(false);
    EXPECT_TRUE(service.NotifyObservers());
    EXPECT_EQ(told, 1);
}

} // namespace
} // namespace zrn::lang::test
