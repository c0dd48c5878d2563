// A loadable library that is not a component module: it exports no
// DllGetClassObject, so the runtime must refuse it.
extern "C" __attribute__((visibility("default"))) int TestModuleNoExportMarker() { return 42; }
