// Opens the largest project the gateway takes again and again into one product, as a program
// kept open all day does, and compares the process's memory after the first open with the
// memory after the last. Each open replaces the whole project, so the memory must stay that
// of one project: the run fails when it grows by more than the allowed ratio.
#include "app/AppState.h"
#include "app/ProjectLoad.h"
#include "model/CProductTarn.h"
#include "projectfile/ProjectFile.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int opens = 50;
constexpr double allowedGrowth = 1.2;

struct MemoryFigures {
    double inUseMiB = 0;    // the allocator's bytes handed out and not yet freed
    double residentMiB = 0; // the pages the process holds
};

MemoryFigures measure() {
    const struct mallinfo2 info = ::mallinfo2();
    MemoryFigures figures;
    figures.inUseMiB = static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
    std::ifstream statm("/proc/self/statm");
    long totalPages = 0;
    long residentPages = 0;
    statm >> totalPages >> residentPages;
    figures.residentMiB =
        static_cast<double>(residentPages) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    return figures;
}

} // namespace

int main() {
    using namespace korvan;
    char folder[] = "/tmp/korvan-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    const std::string path = std::string(folder) + "/maximal.xml";
    AppState state;
    state.model = GatewayModel::Vela3hTcp;
    {
        CProductTarn source;
        source.build(state.model);
        test::fillMaximalProject(source);
        if (!saveToFile(source, path).ok)
            return 1;
    }

    test::ScriptedPrompt prompt;
    CProductTarn product;
    product.build(state.model);
    bool allLoaded = loadProject(product, state, prompt, path).ok();
    const MemoryFigures first = measure();
    for (int i = 1; i < opens; ++i)
        allLoaded &= loadProject(product, state, prompt, path).ok();
    const MemoryFigures last = measure();
    std::remove(path.c_str());
    ::rmdir(folder);

    const double inUseRatio = last.inUseMiB / first.inUseMiB;
    const double residentRatio = last.residentMiB / first.residentMiB;
    std::printf("maximal project: 3 channels x 15 nodes, 768 Advanced commands with 26 segments\n");
    std::printf("                     in use (MiB)   resident (MiB)\n");
    std::printf("after the first open %12.1f %16.1f\n", first.inUseMiB, first.residentMiB);
    std::printf("after %d opens       %12.1f %16.1f\n", opens, last.inUseMiB, last.residentMiB);
    std::printf("ratio                %12.2f %16.2f   (allowed: %.2f)\n", inUseRatio, residentRatio,
                allowedGrowth);
    if (!allLoaded)
        return 1;
    return inUseRatio <= allowedGrowth && residentRatio <= allowedGrowth ? 0 : 2;
}
