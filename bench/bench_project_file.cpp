// Saves and loads the largest project the gateway takes and compares the model's cost with
// a bare parse and print of the same file by the XML library, measured in the same run.
#include "BenchTiming.h"
#include "app/AppState.h"
#include "app/ProjectLoad.h"
#include "model/CProductTarn.h"
#include "os/FileSystem.h"
#include "projectfile/ProjectFile.h"
#include "projectfile/ProjectFileWriter.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tinyxml2.h>
#include <vector>

using korvan::bench::medianMs;

int main() {
    using namespace korvan;
    const int runs = 11;
    char folder[] = "/tmp/korvan-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 1;
    const std::string path = std::string(folder) + "/maximal.xml";

    AppState state;
    state.model = GatewayModel::Vela3hTcp;
    CProductTarn product;
    product.build(state.model);
    test::fillMaximalProject(product);
    if (!saveToFile(product, path).ok)
        return 1;
    const std::string bytes = os::readWholeFile(path, 1u << 30).bytes;

    test::ScriptedPrompt prompt;
    bool allLoaded = true;
    const double save = medianMs(runs, [&] { allLoaded &= saveToFile(product, path).ok; });
    const double build = medianMs(runs, [&] { (void)writeProjectDocument(product, "2026-01-01 00:00:00"); });
    const double load = medianMs(runs, [&] {
        CProductTarn target;
        target.build(state.model);
        allLoaded &= loadProject(target, state, prompt, path).ok();
    });

    const double bareParse = medianMs(runs, [&] {
        const std::string text = os::readWholeFile(path, 1u << 30).bytes;
        tinyxml2::XMLDocument document;
        document.Parse(text.data(), text.size());
    });
    tinyxml2::XMLDocument parsed;
    parsed.Parse(bytes.data(), bytes.size());
    const double barePrint = medianMs(runs, [&] {
        tinyxml2::XMLPrinter printer;
        parsed.Print(&printer);
    });

    std::printf("maximal project: 3 channels x 15 nodes, 768 Advanced commands with 26 segments, %.1f MiB\n",
                static_cast<double>(bytes.size()) / (1024.0 * 1024.0));
    std::printf("save (document, write, flush, rename)  %8.2f ms\n", save);
    std::printf("load (read, parse, model, take over)   %8.2f ms\n", load);
    std::printf("bare parse (read and parse)            %8.2f ms\n", bareParse);
    std::printf("bare print (print parsed document)     %8.2f ms\n", barePrint);
    std::printf("ratio load / bare parse                %8.2f\n", load / bareParse);
    std::printf("ratio document text / bare print       %8.2f\n", build / barePrint);
    std::remove(path.c_str());
    ::rmdir(folder);
    return allLoaded ? 0 : 1;
}
