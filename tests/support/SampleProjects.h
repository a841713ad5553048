#pragma once

namespace korvan {
class CProductTarn;
}

namespace korvan::test {

// A project that touches every stored feature: both node lists, Basic and Advanced commands
// with segments, changed channel and network-side values. The product must be built.
void fillSampleProject(CProductTarn& product);

// The largest project the gateway takes: every channel in multi-drop mode with 15 nodes and
// 256 commands, every command Advanced with 26 segments. The product must be built.
void fillMaximalProject(CProductTarn& product);

} // namespace korvan::test
