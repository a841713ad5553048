#pragma once

namespace korvan {
class CProductTarn;
}

namespace korvan::cli {

struct CliContext;

// korvanctl's lines naming each overlap, after "Memory mapping has conflicts!".
void noteMappingOverlaps(const CliContext& context, const CProductTarn& product);

// One function per korvanctl command; each answers the exit status.
int runNew(CliContext& context);
int runShow(CliContext& context);
int runPack(CliContext& context);
int runUnpack(CliContext& context);
int runFloatToHex(CliContext& context);
int runHexToFloat(CliContext& context);
int runUnit(CliContext& context);
int runMaker(CliContext& context);
int runDownload(CliContext& context);
int runUpload(CliContext& context);
int runSearch(CliContext& context);
int runDiagnose(CliContext& context);
int runCheck(CliContext& context);
int runAutomap(CliContext& context);
int runExport(CliContext& context);

} // namespace korvan::cli
