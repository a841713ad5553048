// A shared library that loads but exports no code-table lookup: the binding must report
// the missing function.
extern "C" __attribute__((visibility("default"))) int korvanUnrelatedExport(int value) {
    return value;
}
