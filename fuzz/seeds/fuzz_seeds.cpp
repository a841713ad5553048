// Writes the fuzz targets' seed corpora: real project files (the model templates, the tests'
// sample and round-trip projects, a first-generation file) and the answers of vela-sim,
// captured from real exchanges over loopback TCP and a pseudo-terminal.
//
// usage: fuzz_seeds CORPUS_DIR   (for the tree: fuzz_seeds fuzz/corpus)
#include "VelaSimulator.h"
#include "app/AppState.h"
#include "app/StartSequence.h"
#include "app/TransferRun.h"
#include "hart/CommandIoEditing.h"
#include "hart/HartCommandCatalogue.h"
#include "link/ConfigurationDownload.h"
#include "link/ConfigurationFrames.h"
#include "link/SegmentTable.h"
#include "link/SerialGatewayLink.h"
#include "link/TcpGatewayLink.h"
#include "link/TunnelFrame.h"
#include "link/UploadFrames.h"
#include "model/CHartbus.h"
#include "model/COrlaCommand.h"
#include "model/COrlaNode.h"
#include "model/CProductTarn.h"
#include "network/GatewaySearch.h"
#include "network/NetworkBlocks.h"
#include "projectfile/ProjectFileWriter.h"
#include "support/FuzzInput.h"
#include "support/LinkProjects.h"
#include "support/SampleProjects.h"
#include "support/ScriptedPrompt.h"
#include "support/SlicedAnswerLink.h"
#include "tools/CommandDataExchange.h"
#include "tools/DiagnoseExchange.h"
#include "tools/MemoryExchange.h"
#include "tools/PassThroughExchange.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace korvan;
using fuzz::appendMarker;
using fuzz::appendSlice;
using fuzz::appendText;

std::filesystem::path corpus;
int seedsWritten = 0;

void writeSeed(const std::string& target, const std::string& name, std::span<const std::uint8_t> bytes) {
    const std::filesystem::path folder = corpus / target;
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ++seedsWritten;
}

void writeSeed(const std::string& target, const std::string& name, std::string_view text) {
    writeSeed(target, name, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string fileName(GatewayModel model) {
    std::string name(modelName(model));
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name;
}

// The byte of fuzz_upload's input that picks the model.
std::uint8_t modelByte(GatewayModel model) {
    return model == GatewayModel::Vela1hTcp ? 0 : model == GatewayModel::Vela3hTcp ? 1 : 2;
}

// Passes everything to the real link and keeps every answer, in order, as the slices a
// SlicedAnswerLink gives back, and each with the frame it answered.
class RecordingLink : public GatewayLink {
public:
    explicit RecordingLink(GatewayLink& inner) : inner_(inner) {}

    struct Exchange {
        Bytes request;
        LinkReply reply;
    };
    std::vector<std::uint8_t> slices;
    std::vector<Exchange> exchanges;

    bool isEthernet() const override { return inner_.isEthernet(); }
    ResultCode open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    LinkReply exchange(const LinkRequest& request) override {
        return record(request.frame, inner_.exchange(request));
    }
    LinkFailure sendOnly(const LinkRequest& request) override { return inner_.sendOnly(request); }
    LinkFailure beginSession(int receiveTimeoutMs, int sendTimeoutMs) override {
        return inner_.beginSession(receiveTimeoutMs, sendTimeoutMs);
    }
    void endSession() override { inner_.endSession(); }
    LinkReply managementExchange(std::span<const std::uint8_t> request, std::size_t minimum,
                                 std::size_t maximum, int receiveTimeoutMs, int sendTimeoutMs) override {
        return record(Bytes(request.begin(), request.end()),
                      inner_.managementExchange(request, minimum, maximum, receiveTimeoutMs, sendTimeoutMs));
    }
    LinkFailure serialWrite(std::span<const std::uint8_t> bytes) override {
        lastWrite_.assign(bytes.begin(), bytes.end());
        return inner_.serialWrite(bytes);
    }
    LinkReply serialRead(std::size_t n) override { return record(lastWrite_, inner_.serialRead(n)); }
    Bytes serialPollRead(std::size_t n) override {
        return record(lastWrite_, {LinkFailure::None, inner_.serialPollRead(n)}).answer;
    }

    // The answer to the first request that started with this byte.
    [[nodiscard]] Bytes answerTo(std::uint8_t letter) const {
        for (const Exchange& exchange : exchanges)
            if (!exchange.request.empty() && exchange.request[0] == letter && !exchange.reply.failed())
                return exchange.reply.answer;
        return {};
    }

private:
    LinkReply record(Bytes request, LinkReply reply) {
        if (reply.failed())
            appendMarker(slices, fuzz::failureDetail(reply.failure));
        else
            appendSlice(slices, reply.answer);
        exchanges.push_back({std::move(request), reply});
        return reply;
    }

    GatewayLink& inner_;
    Bytes lastWrite_;
};

// vela-sim on its own thread, on loopback (and a pseudo-terminal for the serial model).
class Simulator {
public:
    explicit Simulator(GatewayModel model) : simulator_(options(model)) {
        std::string reason;
        if (!simulator_.start(reason)) {
            std::fprintf(stderr, "vela-sim: %s\n", reason.c_str());
            std::exit(1);
        }
        thread_ = std::thread([this] { simulator_.run(); });
    }
    ~Simulator() {
        simulator_.stop();
        thread_.join();
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    [[nodiscard]] TcpGatewayLink tcp() const {
        LinkSettings settings;
        settings.host = "127.0.0.1";
        settings.configurationPort = simulator_.configurationPort();
        settings.managementPort = simulator_.managementPort();
        return TcpGatewayLink(settings);
    }
    [[nodiscard]] SerialGatewayLink serial() const {
        return SerialGatewayLink(simulator_.pseudoTerminalPath());
    }
    sim::VelaSimulator& simulator() { return simulator_; }

private:
    static sim::SimOptions options(GatewayModel model) {
        sim::SimOptions options;
        options.model = model;
        options.pseudoTerminal = model == GatewayModel::Vela3hRtu;
        options.lifetimeMs = 120000;
        return options;
    }

    sim::VelaSimulator simulator_;
    std::thread thread_;
};

// Downloads the project into the simulator over TCP: it keeps what it was given on either line.
void download(Simulator& simulator, CProductTarn& product) {
    test::ScriptedPrompt prompt;
    TcpGatewayLink link = simulator.tcp();
    if (ConfigurationDownload(product, link, prompt).downloadAll().code != ResultCode::Success) {
        std::fprintf(stderr, "the download into vela-sim failed\n");
        std::exit(1);
    }
}

GatewayLink& lineOf(GatewayModel model, TcpGatewayLink& tcp, SerialGatewayLink& serial) {
    return isTcpModel(model) ? static_cast<GatewayLink&>(tcp) : static_cast<GatewayLink&>(serial);
}

// The round-trip project of the model, as the tests build it.
void fillRoundTrip(CProductTarn& product, GatewayModel model) {
    product.build(model);
    test::fillRoundTripProject(product);
}

// --- fuzz_project_file ---------------------------------------------------------------------

void projectFileSeeds() {
    for (GatewayModel model : {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
        std::ifstream in(programFile(templateFileName(model)), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        writeSeed("fuzz_project_file", std::string(templateFileName(model)), text);

        CProductTarn sample;
        sample.build(model);
        test::fillSampleProject(sample);
        writeSeed("fuzz_project_file", "sample-" + fileName(model) + ".xml",
                  writeProjectDocument(sample, "2026-01-01 00:00:00"));
    }
    CProductTarn roundTrip;
    fillRoundTrip(roundTrip, GatewayModel::Vela3hTcp);
    writeSeed("fuzz_project_file", "round-trip-vela-3h-tcp.xml",
              writeProjectDocument(roundTrip, "2026-01-01 00:00:00"));
    std::ifstream old(KORVAN_SOURCE_DIR "/tests/core/projectfile/data/generation1-vela1h.xml",
                      std::ios::binary);
    writeSeed("fuzz_project_file", "generation1-vela-1h-tcp.xml",
              std::string((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>()));
}

// --- fuzz_upload and fuzz_link_records -----------------------------------------------------

void linkRecordSeed(const std::string& name, std::uint8_t record, std::uint8_t detail,
                    std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> seed{record, detail};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    writeSeed("fuzz_link_records", name, seed);
}

// An upload of what the simulator holds; its answers become an upload seed, and the records
// among them seeds of the link records.
void uploadSeed(Simulator& simulator, GatewayModel model, const std::string& name) {
    TcpGatewayLink tcp = simulator.tcp();
    SerialGatewayLink serial = simulator.serial();
    RecordingLink link(lineOf(model, tcp, serial));
    AppState state;
    CProductTarn product;
    test::ScriptedPrompt prompt;
    startProduct(state, product, model);
    if (runUpload(product, state, link, prompt).end != TransferEnd::Done && name == "round-trip") {
        std::fprintf(stderr, "the upload from vela-sim failed\n");
        std::exit(1);
    }
    std::vector<std::uint8_t> seed{modelByte(model)};
    seed.insert(seed.end(), link.slices.begin(), link.slices.end());
    writeSeed("fuzz_upload", "upload-" + fileName(model) + "-" + name, seed);

    if (name != "round-trip")
        return;
    const std::string suffix = "-" + fileName(model);
    const std::uint8_t serialDetail = isTcpModel(model) ? 0x00 : 0x80; // fuzz_link_records' model bit
    linkRecordSeed("channel-record" + suffix, 3, serialDetail, link.answerTo(0x03));
    linkRecordSeed("command-record" + suffix, 2, serialDetail, link.answerTo(0x04));
    // An Advanced command's record followed by its table entry: the count, then the records.
    for (std::size_t i = 0; i + 2 < link.exchanges.size(); ++i) {
        const RecordingLink::Exchange& record = link.exchanges[i];
        if (record.request.empty() || record.request[0] != 0x04 || record.reply.answer.size() < 17 ||
            record.reply.answer[13] != 1)
            continue;
        Bytes bytes(record.reply.answer.begin(), record.reply.answer.begin() + 17);
        const Bytes& count = link.exchanges[i + 1].reply.answer;
        const Bytes& entries = link.exchanges[i + 2].reply.answer;
        if (count.size() > tableReplyHeader)
            bytes.push_back(count[tableReplyHeader]);
        if (entries.size() > tableReplyHeader)
            bytes.insert(bytes.end(), entries.begin() + tableReplyHeader, entries.end());
        linkRecordSeed("advanced-command-record" + suffix, 2, serialDetail, bytes);
        if (entries.size() >= tableReplyHeader + 4)
            linkRecordSeed("segment-record" + suffix, 4, 0, std::span(entries).subspan(tableReplyHeader, 4));
        break;
    }
    if (isTcpModel(model)) {
        for (const RecordingLink::Exchange& exchange : link.exchanges)
            if (isManagementReply(exchange.request, 0x05) && !exchange.reply.failed())
                linkRecordSeed("ethernet-read-reply" + suffix, 6, 0, exchange.reply.answer);
    } else {
        linkRecordSeed("serial-block-reply" + suffix, 5, 0x80, link.answerTo(0x60));
    }
}

void uploadSeeds() {
    for (GatewayModel model : {GatewayModel::Vela1hTcp, GatewayModel::Vela3hTcp, GatewayModel::Vela3hRtu}) {
        {
            Simulator fresh(model);
            uploadSeed(fresh, model, "fresh-gateway");
        }
        Simulator simulator(model);
        CProductTarn product;
        fillRoundTrip(product, model);
        download(simulator, product);
        uploadSeed(simulator, model, "round-trip");
    }
}

void otherLinkRecordSeeds(Simulator& simulator) {
    linkRecordSeed("channel-acknowledgement", 0, 0, channelAcknowledgement(0));
    linkRecordSeed("command-acknowledgement", 0, 1 | 1 << 2, commandAcknowledgement(1));
    linkRecordSeed("table-acknowledgement", 0, 2, tableAcknowledgement);
    linkRecordSeed("serial-block-acknowledgement", 0, 3, serialBlockAcknowledgement);
    linkRecordSeed("tunnel-frame", 1, 0, tunnelFrame(2, 0x07, commandRecordRequest(0, 1)));
    const Bytes answer = simulator.simulator().withEngine([](const sim::GatewayEngine& engine) {
        return engine.answerSearch(searchRequest).value_or(Bytes{});
    });
    // The identity exchange, answered by vela-sim's engine itself.
    sim::GatewayEngine engine(GatewayModel::Vela3hTcp);
    linkRecordSeed("search-answer-broadcast", 7, 1 << 1 | 1, answer);
    linkRecordSeed("search-answer-fixed", 7, 0, answer);
    const auto identity = identityRequest();
    const Bytes identityAnswer = engine.answerManagement(identity).value_or(Bytes{});
    linkRecordSeed("identity-answer", 8, 0, identityAnswer);
    const Bytes table = tableFrame(0, 0, Bytes(120, 0x84));
    linkRecordSeed("table-frame", 9, 0, table);
    const std::string address = "192.168.0.10";
    linkRecordSeed("dotted-address", 10, 0,
                   {reinterpret_cast<const std::uint8_t*>(address.data()), address.size()});
}

// --- fuzz_debug_replies and fuzz_hart_reply ------------------------------------------------

enum DebugParser : std::uint8_t {
    ChannelStatusRows,
    NodeStatusRows,
    ReadChannelStatus,
    ReadNodeStatus,
    ClearChannelError,
    MemoryReply,
    ReadMemory,
    WriteMemory,
    ReadCommandData,
    WriteCommandData,
    PassThroughLine,
    PassThroughRequest,
};

// The node list fuzz_debug_replies builds: the count, then each command's HART number.
std::vector<std::uint8_t> nodeList(const CProductTarn& product) {
    std::vector<std::uint8_t> list{0};
    for (const COrlaNode* node : product.channel(0)->currentNodes())
        for (const COrlaCommand* command : node->commands())
            if (list[0] < 16) {
                ++list[0];
                list.push_back(static_cast<std::uint8_t>(command->commandNumber()));
            }
    return list;
}

void debugSeed(const std::string& name, DebugParser parser, bool ethernet, std::vector<std::uint8_t> prefix,
               std::span<const std::uint8_t> rest) {
    std::vector<std::uint8_t> seed{parser, static_cast<std::uint8_t>(ethernet ? 1 : 0)};
    seed.insert(seed.end(), prefix.begin(), prefix.end());
    seed.insert(seed.end(), rest.begin(), rest.end());
    writeSeed("fuzz_debug_replies", name, seed);
}

// One exchange over a fresh recording of the line; answers the recording.
RecordingLink recorded(GatewayLink& line, const std::function<void(GatewayLink&)>& exchange) {
    RecordingLink link(line);
    exchange(link);
    return link;
}

void debugSeeds(GatewayModel model) {
    Simulator simulator(model);
    CProductTarn product;
    fillRoundTrip(product, model);
    download(simulator, product);
    TcpGatewayLink tcp = simulator.tcp();
    SerialGatewayLink serial = simulator.serial();
    GatewayLink& line = lineOf(model, tcp, serial);
    const bool ethernet = isTcpModel(model);
    if (!ethernet && !succeeded(serial.open())) {
        std::fprintf(stderr, "the pseudo-terminal does not open\n");
        std::exit(1);
    }
    const std::string suffix = "-" + std::string(ethernet ? "tcp" : "serial");
    test::ScriptedPrompt prompt;
    const std::vector<std::uint8_t> nodes = nodeList(product);

    const RecordingLink channelStatus =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(readChannelStatus(link, 0, prompt)); });
    debugSeed("read-channel-status" + suffix, ReadChannelStatus, ethernet, {}, channelStatus.slices);
    debugSeed("channel-status-rows" + suffix, ChannelStatusRows, ethernet, {},
              channelStatus.exchanges.at(0).reply.answer);

    const COrlaNode& node = *product.channel(0)->currentNodes().at(0);
    const RecordingLink nodeStatus =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(readNodeStatus(link, 0, node, prompt)); });
    debugSeed("read-node-status" + suffix, ReadNodeStatus, ethernet, nodes, nodeStatus.slices);
    debugSeed("node-status-rows" + suffix, NodeStatusRows, ethernet, nodes,
              nodeStatus.exchanges.at(0).reply.answer);

    const RecordingLink cleared =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(clearChannelError(link, 0, prompt)); });
    debugSeed("clear-channel-error" + suffix, ClearChannelError, ethernet, {}, cleared.slices);

    const RecordingLink memory =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(readMemory(link, 0, prompt)); });
    debugSeed("read-memory" + suffix, ReadMemory, ethernet, {0x00, 0x00}, memory.slices);
    debugSeed("memory-reply" + suffix, MemoryReply, ethernet, {}, memory.exchanges.at(0).reply.answer);

    std::vector<std::uint8_t> data(memoryBlock);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i);
    const RecordingLink written =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(writeMemory(link, 3000, data, prompt)); });
    std::vector<std::uint8_t> writePrefix{0x0B, 0xB8};
    appendSlice(writePrefix, data);
    debugSeed("write-memory" + suffix, WriteMemory, ethernet, writePrefix, written.slices);

    const RecordingLink commandData =
        recorded(line, [&](GatewayLink& link) { static_cast<void>(readCommandData(link, 0, 0, prompt)); });
    debugSeed("read-command-data" + suffix, ReadCommandData, ethernet, {0x00}, commandData.slices);

    if (!ethernet) {
        test::ScriptedPrompt quiet;
        const auto frame = buildWriteFrame(6, 0, 0, std::vector<std::string>{"", "", "05"}, quiet);
        if (frame) {
            const RecordingLink write = recorded(line, [&](GatewayLink& link) {
                static_cast<void>(writeCommandData(link, frame->frame, frame->expectedAnswer));
            });
            std::vector<std::uint8_t> prefix;
            appendSlice(prefix, frame->frame);
            appendSlice(prefix, frame->expectedAnswer);
            debugSeed("write-command-data-serial", WriteCommandData, false, prefix, write.slices);
        }
        const auto request = passThroughRequest(0, "82 A6 06", "BC 61 4E 00 00", "3C", nullptr);
        if (request) {
            const RecordingLink passed = recorded(line, [&](GatewayLink& link) {
                static_cast<void>(link.serialWrite(*request));
                static_cast<void>(link.serialPollRead(1024));
            });
            debugSeed("pass-through-line", PassThroughLine, false, {}, passed.exchanges.at(0).reply.answer);
        }
        std::vector<std::uint8_t> texts;
        appendText(texts, "82 A6 06");
        appendText(texts, "bc 61 4e 00 00");
        appendText(texts, "3C");
        debugSeed("pass-through-request", PassThroughRequest, false, {}, texts);
        serial.close();
    }
}

// A node of HART commands the command I/O data window shows; the simulator answers the
// command data of each in sequence order.
void hartReplySeeds() {
    const std::vector<unsigned> commands{0, 1, 2, 3, 6, 11, 12, 13, 14, 15, 16};
    Simulator simulator(GatewayModel::Vela3hTcp);
    CProductTarn product;
    product.build(GatewayModel::Vela3hTcp);
    COrlaNode* node = product.channel(0)->addNode();
    for (unsigned command : commands)
        node->addHartCommand(product.registries(), command);
    download(simulator, product);
    TcpGatewayLink tcp = simulator.tcp();
    test::ScriptedPrompt prompt;
    for (std::size_t k = 0; k < commands.size(); ++k) {
        const RecordingLink data = recorded(tcp, [&](GatewayLink& link) {
            static_cast<void>(readCommandData(link, 0, static_cast<std::uint8_t>(k), prompt));
        });
        const Bytes& reply = data.exchanges.at(0).reply.answer;
        std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(commands[k]), static_cast<std::uint8_t>(k),
                                       0};
        appendSlice(seed, reply);
        if (commands[k] == 6)
            appendText(seed, "7");
        if (commands[k] == 11)
            appendText(seed, "TAG 0001");
        writeSeed("fuzz_hart_reply", "command-" + std::to_string(commands[k]), seed);
        if (commands[k] == 3) {
            // In Advanced configuration: the primary variable's value and the status entry.
            std::vector<std::uint8_t> advanced{3, static_cast<std::uint8_t>(k), 2, 5, 4, 1, 63, 2, 0};
            appendSlice(advanced, reply);
            writeSeed("fuzz_hart_reply", "command-3-advanced", advanced);
        }
    }
    // The write-only commands start from an empty form and are typed in.
    const std::vector<std::pair<unsigned, std::vector<std::string>>> forms{
        {17, {"THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 01"}},
        {18, {"TAG 0002", "PRESSURE LINE 4", "01/02/2024"}},
        {19, {"123456"}}};
    for (const auto& [command, texts] : forms) {
        std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(command), 0, 0, 0};
        for (const std::string& text : texts)
            appendText(seed, text);
        writeSeed("fuzz_hart_reply", "command-" + std::to_string(command), seed);
    }
}

// --- fuzz_converters -----------------------------------------------------------------------

void converterSeeds() {
    const std::vector<std::pair<std::string, std::pair<std::uint8_t, std::string>>> seeds{
        {"hex-text", {0, "4D 3c 1B"}},
        {"hex-bytes", {1, "\x00\x7F\x80\xFF"}},
        {"pack-text", {2, "Korvan gateway 3H"}},
        {"unpack-bytes", {3, std::string("\x82\xA6\x06\xBC\x61\x4E", 6)}},
        {"pack-fixed", {4, std::string("\x08") + "TAG0001"}},
        {"pack-window", {5, "ABCD EFGH"}},
        {"unpack-window", {6, "04 10 C4 14 61 C8"}},
        {"float-field", {7, "-12.5e3"}},
        {"float-field-small", {7, " 0.000001 "}},
        {"hex-field", {8, "3F 80 00 00"}},
        {"float-texts", {9, "\x42\x28\x00\x00"}},
    };
    for (const auto& [name, seed] : seeds) {
        std::vector<std::uint8_t> bytes{seed.first};
        bytes.insert(bytes.end(), seed.second.begin(), seed.second.end());
        writeSeed("fuzz_converters", name, bytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_DIR\n");
        return 2;
    }
    corpus = argv[1];
    buildCatalogue();
    projectFileSeeds();
    uploadSeeds();
    {
        Simulator simulator(GatewayModel::Vela3hTcp);
        otherLinkRecordSeeds(simulator);
    }
    debugSeeds(GatewayModel::Vela3hTcp);
    debugSeeds(GatewayModel::Vela3hRtu);
    hartReplySeeds();
    converterSeeds();
    std::printf("%d seeds written to %s\n", seedsWritten, corpus.string().c_str());
    return 0;
}
