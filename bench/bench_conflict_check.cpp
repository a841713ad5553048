// Times the download pre-check on the largest project the gateway takes (three channels,
// 256 Advanced commands each with 26 segments, laid out by automatic mapping so that no pair
// conflicts and the pairwise rule has to try every pair) against the pairwise rule it
// replaces, measured in the same run.
#include "BenchTiming.h"
#include "mapping/AutoMapping.h"
#include "mapping/ConflictCheck.h"
#include "mapping/MappingCollector.h"
#include "model/CProductTarn.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using korvan::bench::medianMs;

int main() {
    using namespace korvan;
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    test::fillMaximalProject(product);
    test::ScriptedPrompt prompt;
    prompt.answerNext(Answer::Yes);
    if (!autoMapAddresses(product, prompt))
        return 1;

    bool answers = false;
    const double check = medianMs(21, [&] { answers |= hasMappingConflict(product); });
    const double collect = medianMs(21, [&] { answers |= collectMappings(product).send.empty(); });
    const double pairwise = medianMs(3, [&] {
        const MappingLists lists = collectMappings(product);
        answers |= rangesOverlapPairwise(lists.send) || rangesOverlapPairwise(lists.receive);
    });
    if (answers) {
        std::puts("unexpected conflict in the automatically mapped project");
        return 1;
    }
    const MappingLists lists = collectMappings(product);
    std::printf("entries: %zu send, %zu receive\n", lists.send.size(), lists.receive.size());
    std::printf("hasMappingConflict: %.3f ms (collecting %.3f ms; limit 10 ms)\n", check, collect);
    std::printf("pairwise rule:      %.3f ms\n", pairwise);
    std::printf("ratio pairwise/new: %.1f\n", pairwise / check);
    return check < 10.0 ? 0 : 2;
}
