// Runs socket tests in a network of their own where the process can make one, so they can
// produce every cause of a network error without sending anything beyond the machine.
#include "support/isolated_network.h"

#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char* argv[]) {
    kestrix::test::isolated_network::enter();
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
