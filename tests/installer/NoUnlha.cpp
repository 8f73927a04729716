// Stands in for a damaged UNLHA32.DLL: it loads, but "Unlha" is not among its exports.
extern "C" __attribute__((visibility("default"))) int NotUnlha()
{
    return 1;
}
