#include "TaalTestSupport.h"

#include "dataset/Table.h"
#include "dataset/TableObserver.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <memory>

namespace zrn::lang::test {
namespace {

//! Counts the notices of one field.
class FieldWatcher : public ds::TableObserver {
public:
    explicit FieldWatcher(const ds::Field& field) : field_(field) {}
    void fieldChanged(ds::Table&, ds::Field& field) override {
        if (&field == &field_)
            ++notices;
    }
    int notices = 0;

private:
    const ds::Field& field_;
};

//! One open row with a length in mm, a temperature in C and a quantity whose unit code
//! the unit file lacks.
class MetricFieldTest : public TaalTest {
protected:
    void SetUp() override {
        TaalTest::SetUp();
        OpenFixture(service);
        table = std::make_unique<ds::Table>("invoer");
        lengte = &table->add<TMetricField>("lengte", "MM");
        lengte->setDisplayFormat("0.00");
        lengte->setEditFormat("0.###");
        temp = &table->add<TMetricField>("temp", "C");
        onbekend = &table->add<TMetricField>("onbekend", "XX");
        table->open();
        table->append();
        for (TMetricField* f : {lengte, temp, onbekend})
            f->SetTaalComponent(&service);
    }

    TTaalComponent service;
    std::unique_ptr<ds::Table> table;
    TMetricField* lengte = nullptr;
    TMetricField* temp = nullptr;
    TMetricField* onbekend = nullptr;
};

TEST_F(MetricFieldTest, StoresMetricAndShowsTheCurrentSystem) {
    lengte->setAsFloat(25.4);
    EXPECT_FALSE(lengte->ImperialMode());
    EXPECT_DOUBLE_EQ(lengte->asFloat(), 25.4);
    EXPECT_EQ(lengte->text(), "25.40");
    EXPECT_EQ(lengte->editText(), "25.4");
    EXPECT_EQ(lengte->asString(), "25.4");

    service.SetEenheid(ehImperial);
    EXPECT_TRUE(lengte->ImperialMode());
    EXPECT_DOUBLE_EQ(lengte->MetricValue(), 25.4);
    EXPECT_NEAR(lengte->asFloat(), 1, 1e-12);
    EXPECT_NEAR(lengte->value().asFloat(), 1, 1e-12);
    EXPECT_EQ(lengte->text(), "1.00");
    EXPECT_EQ(lengte->editText(), "1");
    EXPECT_EQ(lengte->asString(), "1");
}

TEST_F(MetricFieldTest, EntryInImperialIsStoredMetric) {
    service.SetEenheid(ehImperial);
    lengte->setText("2");
    EXPECT_NEAR(lengte->MetricValue(), 50.8, 1e-9);
    lengte->setAsFloat(0.5);
    EXPECT_NEAR(lengte->MetricValue(), 12.7, 1e-9);
    temp->setValue(ds::Value(212.0));
    EXPECT_NEAR(temp->MetricValue(), 100, 1e-9);

    // Typed text follows the user's number format.
    rtl::FormatSettings().decimalSeparator = ',';
    lengte->setText("1,5");
    EXPECT_NEAR(lengte->MetricValue(), 38.1, 1e-9);
    EXPECT_EQ(lengte->text(), "1,50");
    EXPECT_THROW(lengte->setText("abc"), Error);
    EXPECT_NEAR(lengte->MetricValue(), 38.1, 1e-9);
    lengte->setText("");
    EXPECT_TRUE(lengte->isNull());

    service.SetEenheid(ehMetrisch);
    lengte->setText("1,5");
    EXPECT_DOUBLE_EQ(lengte->MetricValue(), 1.5);
}

TEST_F(MetricFieldTest, NullShowsEmptyInBothSystemsButReadsAsTheConversionOfZero) {
    for (TEenheid eenheid : {ehMetrisch, ehImperial}) {
        service.SetEenheid(eenheid);
        EXPECT_TRUE(temp->isNull());
        EXPECT_EQ(temp->text(), "");
        EXPECT_EQ(temp->editText(), "");
        EXPECT_EQ(temp->asString(), "");
        EXPECT_TRUE(temp->value().isNull());
        EXPECT_DOUBLE_EQ(temp->MetricValue(), 0);
    }
    EXPECT_NEAR(temp->asFloat(), 32, 1e-12);
}

TEST_F(MetricFieldTest, RangeIsCheckedOnTheStoredMetricValue) {
    lengte->setRange(0.0, 100.0);
    service.SetEenheid(ehImperial);
    lengte->setAsFloat(3); // 76.2 mm
    EXPECT_NEAR(lengte->MetricValue(), 76.2, 1e-9);
    EXPECT_THROW(lengte->setAsFloat(4), Error); // 101.6 mm
    EXPECT_NEAR(lengte->MetricValue(), 76.2, 1e-9);
}

TEST_F(MetricFieldTest, UnknownUnitCodeConvertsToZeroInImperialOnly) {
    onbekend->setAsFloat(7);
    EXPECT_DOUBLE_EQ(onbekend->asFloat(), 7);
    service.SetEenheid(ehImperial);
    EXPECT_DOUBLE_EQ(onbekend->asFloat(), 0);
    EXPECT_EQ(onbekend->text(), "0");
    onbekend->setAsFloat(5);
    EXPECT_DOUBLE_EQ(onbekend->MetricValue(), 0);
}

TEST_F(MetricFieldTest, MetricValueIsNeverConverted) {
    service.SetEenheid(ehImperial);
    for (double v : {25.4, 0.001, -3.25, 1e6}) {
        lengte->SetMetricValue(v);
        EXPECT_DOUBLE_EQ(lengte->MetricValue(), v);
        EXPECT_NEAR(lengte->asFloat(), v / 25.4, 1e-12 * std::max(1.0, v));
    }
}

TEST_F(MetricFieldTest, WithoutServiceNothingIsConverted) {
    service.SetEenheid(ehImperial);
    lengte->SetTaalComponent(nullptr);
    EXPECT_FALSE(lengte->ImperialMode());
    lengte->setAsFloat(25.4);
    EXPECT_DOUBLE_EQ(lengte->MetricValue(), 25.4);
    EXPECT_DOUBLE_EQ(lengte->asFloat(), 25.4);
}

TEST_F(MetricFieldTest, BadFormulaFailsTheReadThatNeedsIt) {
    lengte->SetEenhCode("BAD");
    lengte->SetMetricValue(1);
    service.SetEenheid(ehImperial);
    EXPECT_THROW(lengte->asFloat(), Error);
    EXPECT_THROW(lengte->setAsFloat(1), Error);
    EXPECT_DOUBLE_EQ(lengte->MetricValue(), 1);
}

TEST_F(MetricFieldTest, UnitSwitchTellsTheTableButAttachingDoesNot) {
    FieldWatcher watcher(*lengte);
    table->attach(watcher);
    lengte->SetTaalComponent(&service);
    EXPECT_EQ(watcher.notices, 0);
    service.SetEenheid(ehImperial);
    EXPECT_EQ(watcher.notices, 1);
    service.SetEenheid(ehMetrisch);
    EXPECT_EQ(watcher.notices, 2);
    table->detach(watcher);
}

TEST_F(MetricFieldTest, TableDestroyedFirstLeavesTheService) {
    EXPECT_EQ(service.ObserverCount(), 3);
    table.reset();
    EXPECT_EQ(service.ObserverCount(), 0);
    EXPECT_TRUE(service.NotifyObservers());
}

TEST(MetricFieldLifetime, ServiceDestroyedFirstLeavesTheFieldUnconverted) {
    ds::Table table("invoer");
    auto& lengte = table.add<TMetricField>("lengte", "MM");
    table.open();
    table.append();
    {
        TTaalComponent service;
        service.SetTaalDirectory(FixtureTaalDir());
        service.SetEenheid(ehImperial);
        lengte.SetTaalComponent(&service);
        lengte.SetMetricValue(25.4);
        EXPECT_NEAR(lengte.asFloat(), 1, 1e-12);
    }
    EXPECT_EQ(lengte.TaalComponent(), nullptr);
    EXPECT_EQ(lengte.GetSubject(), nullptr);
    EXPECT_DOUBLE_EQ(lengte.asFloat(), 25.4);
}

} // namespace
} // namespace zrn::lang::test
