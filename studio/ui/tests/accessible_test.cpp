// What a screen reader learns from the painted components, asked the way one
// asks: through their accessible interfaces.
#include "t_gauge.h"
#include "t_panels.h"

#include <QAccessible>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class Accessible : public ::testing::Test {
protected:
    QWidget form_;
};

TEST_F(Accessible, TheGaugeReadsAsAProgressBarWhoseValueFollowsItsProgress) {
    auto* gauge = new TCGauge(&form_);
    gauge->setAccessibleName("Memory Usage");
    gauge->SetMaxValue(1000);
    gauge->SetProgress(250);

    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(gauge);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    EXPECT_EQ(bar->text(QAccessible::Name), "Memory Usage");
    QAccessibleValueInterface* value = bar->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toLongLong(), 250);
    EXPECT_EQ(value->minimumValue().toLongLong(), 0);
    EXPECT_EQ(value->maximumValue().toLongLong(), 1000);
    EXPECT_EQ(bar->text(QAccessible::Value), "25%");

    // Above the maximum the bar is full, and a maximum of 0 is refused.
    gauge->SetProgress(5000);
    gauge->SetMaxValue(0);
    EXPECT_EQ(value->currentValue().toLongLong(), 1000);
    EXPECT_EQ(value->maximumValue().toLongLong(), 1000);
    EXPECT_EQ(bar->text(QAccessible::Value), "100%");
}

TEST_F(Accessible, APanelKeepsItsNameAndReadsItsCaptionAsValue) {
    auto* panel = new TPanel(&form_);
    panel->setAccessibleName("Result");
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(panel);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->role(), QAccessible::StaticText);
    EXPECT_EQ(result->text(QAccessible::Name), "Result");
    EXPECT_EQ(result->text(QAccessible::Value), "");

    panel->SetCaption("Program Passed!");
    EXPECT_EQ(result->text(QAccessible::Name), "Result");
    EXPECT_EQ(result->text(QAccessible::Value), "Program Passed!");
    EXPECT_EQ(result->text(QAccessible::Description), "Program Passed!");

    // Without a name of its own a panel is named by its caption, as a label is.
    auto* unnamed = new TPanel(&form_);
    unnamed->SetCaption("Verify Failed!");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(unnamed)->text(QAccessible::Name), "Verify Failed!");
}

}  // namespace
