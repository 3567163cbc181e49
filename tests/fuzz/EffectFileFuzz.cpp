// Effect files: the parser checks everything short of the GL compiler.
#include "kelvo/gpu/gl/EffectParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CEffectParser parser(text, "fuzz.e");
    SEffectSource source;
    std::string error;
    if (!parser.Parse(source, error) && error.empty())
        __builtin_trap();
    return 0;
}
