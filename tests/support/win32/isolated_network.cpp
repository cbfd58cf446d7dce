#include "support/isolated_network.h"

namespace kestrix::test::isolated_network {

void enter() {}

QString missing() {
    return QStringLiteral("Windows has no network namespaces to make a network of our own in");
}

}  // namespace kestrix::test::isolated_network
