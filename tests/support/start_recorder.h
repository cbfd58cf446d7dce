#pragma once

#include "platform/program_start.h"

#include <functional>
#include <vector>

namespace kestrix::test {

// Stands in for starting an outside program (the browser): records every command line it is
// given and reports success or failure as the test decides.
class StartRecorder {
public:
    bool succeed = true;
    // Runs at each start, e.g. to look at the screen while the start is under way.
    std::function<void()> during;

    [[nodiscard]] platform::ProgramStarter starter() {
        return [this](const platform::CommandLine& commandLine) {
            starts.push_back(commandLine);
            if (during) {
                during();
            }
            return succeed;
        };
    }

    std::vector<platform::CommandLine> starts;
};

}  // namespace kestrix::test
