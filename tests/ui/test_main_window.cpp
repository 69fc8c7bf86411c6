#include "ui/app/Main.h"

#include <QMdiArea>
#include <gtest/gtest.h>

TEST(MainWindow, OpensAtItsDesignedSizeAndClosesCleanly) {
    zrn::ui::TZRN_main window;
    window.show();
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_NE(window.mdiArea(), nullptr);
    EXPECT_TRUE(window.close());
}
