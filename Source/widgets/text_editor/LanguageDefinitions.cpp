// The two built-in language definitions of TextEditor: HLSL (the widget's default) and Lua
// (what the script window uses). Each is built once and handed out by copy.
#include "widgets/text_editor/TextEditor.h"

#include <initializer_list>

namespace {

using LanguageDefinition = TextEditor::LanguageDefinition;
using PaletteIndex = TextEditor::PaletteIndex;

constexpr const char* BuiltInFunction = "Built-in function";

void AddIdentifiers(LanguageDefinition& language, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        TextEditor::Identifier identifier;
        identifier.mTooltip = BuiltInFunction;
        language.mIdentifiers.insert_or_assign(name, identifier);
    }
}

// Reserved words, object types and the scalar, vector and matrix type names.
constexpr std::initializer_list<const char*> HlslKeywords = {
    "AppendStructuredBuffer", "asm", "asm_fragment", "BlendState", "bool", "break", "Buffer",
    "ByteAddressBuffer", "case", "cbuffer", "centroid", "class", "column_major", "compile",
    "compile_fragment", "CompileShader", "const", "continue", "ComputeShader", "ConsumeStructuredBuffer",
    "default", "DepthStencilState", "DepthStencilView", "discard", "do", "double", "DomainShader",
    "dword", "else", "export", "extern", "false", "float", "for", "fxgroup", "GeometryShader",
    "groupshared", "half", "Hullshader", "if", "in", "inline", "inout", "InputPatch", "int",
    "interface", "line", "lineadj", "linear", "LineStream", "matrix", "min16float", "min10float",
    "min16int", "min12int", "min16uint", "namespace", "nointerpolation", "noperspective", "NULL",
    "out", "OutputPatch", "packoffset", "pass", "pixelfragment", "PixelShader", "point",
    "PointStream", "precise", "RasterizerState", "RenderTargetView", "return", "register",
    "row_major", "RWBuffer", "RWByteAddressBuffer", "RWStructuredBuffer", "RWTexture1D",
    "RWTexture1DArray", "RWTexture2D", "RWTexture2DArray", "RWTexture3D", "sample", "sampler",
    "SamplerState", "SamplerComparisonState", "shared", "snorm", "stateblock", "stateblock_state",
    "static", "string", "struct", "switch", "StructuredBuffer", "tbuffer", "technique",
    "technique10", "technique11", "texture", "Texture1D", "Texture1DArray", "Texture2D",
    "Texture2DArray", "Texture2DMS", "Texture2DMSArray", "Texture3D", "TextureCube",
    "TextureCubeArray", "true", "typedef", "triangle", "triangleadj", "TriangleStream", "uint",
    "uniform", "unorm", "unsigned", "vector", "vertexfragment", "VertexShader", "void", "volatile",
    "while",
    "bool1", "bool2", "bool3", "bool4", "double1", "double2", "double3", "double4",
    "float1", "float2", "float3", "float4", "int1", "int2", "int3", "int4",
    "uint1", "uint2", "uint3", "uint4", "dword1", "dword2", "dword3", "dword4",
    "half1", "half2", "half3", "half4",
    "float1x1", "float2x1", "float3x1", "float4x1", "float1x2", "float2x2", "float3x2", "float4x2",
    "float1x3", "float2x3", "float3x3", "float4x3", "float1x4", "float2x4", "float3x4", "float4x4",
    "half1x1", "half2x1", "half3x1", "half4x1", "half1x2", "half2x2", "half3x2", "half4x2",
    "half1x3", "half2x3", "half3x3", "half4x3", "half1x4", "half2x4", "half3x4", "half4x4",
};

// The intrinsic functions.
constexpr std::initializer_list<const char*> HlslIntrinsics = {
    "abort", "abs", "acos", "all", "AllMemoryBarrier", "AllMemoryBarrierWithGroupSync", "any",
    "asdouble", "asfloat", "asin", "asint", "asuint", "atan", "atan2", "ceil",
    "CheckAccessFullyMapped", "clamp", "clip", "cos", "cosh", "countbits", "cross",
    "D3DCOLORtoUBYTE4", "ddx", "ddx_coarse", "ddx_fine", "ddy", "ddy_coarse", "ddy_fine", "degrees",
    "determinant", "DeviceMemoryBarrier", "DeviceMemoryBarrierWithGroupSync", "distance", "dot",
    "dst", "errorf", "EvaluateAttributeAtCentroid", "EvaluateAttributeAtSample",
    "EvaluateAttributeSnapped", "exp", "exp2", "f16tof32", "f32tof16", "faceforward",
    "firstbithigh", "firstbitlow", "floor", "fma", "fmod", "frac", "frexp", "fwidth",
    "GetRenderTargetSampleCount", "GetRenderTargetSamplePosition", "GroupMemoryBarrier",
    "GroupMemoryBarrierWithGroupSync", "InterlockedAdd", "InterlockedAnd",
    "InterlockedCompareExchange", "InterlockedCompareStore", "InterlockedExchange",
    "InterlockedMax", "InterlockedMin", "InterlockedOr", "InterlockedXor", "isfinite", "isinf",
    "isnan", "ldexp", "length", "lerp", "lit", "log", "log10", "log2", "mad", "max", "min", "modf",
    "msad4", "mul", "noise", "normalize", "pow", "printf", "Process2DQuadTessFactorsAvg",
    "Process2DQuadTessFactorsMax", "Process2DQuadTessFactorsMin", "ProcessIsolineTessFactors",
    "ProcessQuadTessFactorsAvg", "ProcessQuadTessFactorsMax", "ProcessQuadTessFactorsMin",
    "ProcessTriTessFactorsAvg", "ProcessTriTessFactorsMax", "ProcessTriTessFactorsMin",
    "radians", "rcp", "reflect", "refract", "reversebits", "round", "rsqrt", "saturate", "sign",
    "sin", "sincos", "sinh", "smoothstep", "sqrt", "step", "tan", "tanh",
    "tex1D", "tex1Dbias", "tex1Dgrad", "tex1Dlod", "tex1Dproj",
    "tex2D", "tex2Dbias", "tex2Dgrad", "tex2Dlod", "tex2Dproj",
    "tex3D", "tex3Dbias", "tex3Dgrad", "tex3Dlod", "tex3Dproj",
    "texCUBE", "texCUBEbias", "texCUBEgrad", "texCUBElod", "texCUBEproj", "transpose", "trunc",
};

constexpr std::initializer_list<const char*> LuaKeywords = {
    "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "if", "in",
    "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while",
};

// The standard library: base functions, then each library's members, then the library names.
constexpr std::initializer_list<const char*> LuaLibrary = {
    // base
    "assert", "collectgarbage", "dofile", "error", "getmetatable", "ipairs", "loadfile", "load",
    "loadstring", "next", "pairs", "pcall", "print", "rawequal", "rawlen", "rawget", "rawset",
    "select", "setmetatable", "tonumber", "tostring", "type", "xpcall", "_G", "_VERSION",
    // bit32
    "arshift", "band", "bnot", "bor", "bxor", "btest", "extract", "lrotate", "lshift", "replace",
    "rrotate", "rshift",
    // coroutine
    "create", "isyieldable", "resume", "running", "status", "wrap", "yield",
    // debug
    "debug", "gethook", "getinfo", "getlocal", "getmetatable", "getregistry", "getupvalue",
    "getuservalue", "sethook", "setlocal", "setmetatable", "setupvalue", "setuservalue",
    "traceback", "upvalueid", "upvaluejoin",
    // io, and the methods of its files
    "close", "flush", "input", "lines", "open", "output", "popen", "read", "tmpfile", "type",
    "write", "close", "flush", "lines", "read", "seek", "setvbuf", "write", "__gc", "__tostring",
    // math
    "abs", "acos", "asin", "atan", "ceil", "cos", "deg", "exp", "tointeger", "floor", "fmod",
    "ult", "log", "max", "min", "modf", "rad", "random", "randomseed", "sin", "sqrt", "tan",
    "type", "atan2", "cosh", "sinh", "tanh", "pow", "frexp", "ldexp", "log10", "pi", "huge",
    "maxinteger", "mininteger",
    // package
    "loadlib", "searchpath", "seeall", "preload", "cpath", "path", "searchers", "loaded",
    "module", "require", "config",
    // os
    "clock", "date", "difftime", "execute", "exit", "getenv", "remove", "rename", "setlocale",
    "time", "tmpname",
    // string
    "byte", "char", "dump", "find", "format", "gmatch", "gsub", "len", "lower", "match", "rep",
    "reverse", "sub", "upper", "pack", "packsize", "unpack",
    // table
    "concat", "insert", "maxn", "move", "pack", "remove", "sort", "unpack",
    // utf8
    "char", "charpattern", "codes", "codepoint", "len", "offset",
    // the libraries themselves
    "coroutine", "table", "io", "os", "string", "utf8", "bit32", "math", "debug", "package",
};

// Token expressions both languages use.
constexpr const char* DoubleQuotedString = R"re(L?\"(\\.|[^\"])*\")re";
constexpr const char* DecimalNumber = R"re([+-]?([0-9]+([.][0-9]*)?|[.][0-9]+)([eE][+-]?[0-9]+)?[fF]?)re";
constexpr const char* IntegerNumber = R"re([+-]?[0-9]+[Uu]?[lL]?[lL]?)re";
constexpr const char* HexadecimalNumber = R"re(0[xX][0-9a-fA-F]+[uU]?[lL]?[lL]?)re";
constexpr const char* Name = R"re([a-zA-Z_][a-zA-Z0-9_]*)re";
constexpr const char* PunctuationMark = R"re([\[\]\{\}\!\%\^\&\*\(\)\-\+\=\~\|\<\>\?\/\;\,\.])re";

LanguageDefinition Definition(const char* name, std::initializer_list<const char*> keywords,
                              std::initializer_list<const char*> identifiers, const char* commentStart,
                              const char* commentEnd)
{
    LanguageDefinition language;
    language.mName = name;
    language.mKeywords.insert(keywords.begin(), keywords.end());
    AddIdentifiers(language, identifiers);
    language.mCommentStart = commentStart;
    language.mCommentEnd = commentEnd;
    language.mCaseSensitive = true;
    return language;
}

LanguageDefinition BuildHlsl()
{
    LanguageDefinition language = Definition("HLSL", HlslKeywords, HlslIntrinsics, "/*", "*/");
    language.mTokenPatterns = {
        {R"re(//.*)re", PaletteIndex::Comment},
        {"[ \t]*#[ \\t]*[a-zA-Z_]+", PaletteIndex::Preprocessor},
        {DoubleQuotedString, PaletteIndex::String},
        {R"re(\'\\?[^\']\')re", PaletteIndex::Character},
        {DecimalNumber, PaletteIndex::Number},
        {IntegerNumber, PaletteIndex::Number},
        {R"re(0[0-7]+[Uu]?[lL]?[lL]?)re", PaletteIndex::Number},
        {HexadecimalNumber, PaletteIndex::Number},
        {Name, PaletteIndex::Identifier},
        {PunctuationMark, PaletteIndex::Punctuation},
    };
    return language;
}

// The comment markers are compared glyph by glyph, so they are plain text.
LanguageDefinition BuildLua()
{
    LanguageDefinition language = Definition("Lua", LuaKeywords, LuaLibrary, "--[[", "]]");
    language.mTokenPatterns = {
        {R"re(\-\-.*)re", PaletteIndex::Comment},
        {DoubleQuotedString, PaletteIndex::String},
        {R"re(\'[^\']*\')re", PaletteIndex::String},
        {HexadecimalNumber, PaletteIndex::Number},
        {DecimalNumber, PaletteIndex::Number},
        {IntegerNumber, PaletteIndex::Number},
        {Name, PaletteIndex::Identifier},
        {PunctuationMark, PaletteIndex::Punctuation},
    };
    return language;
}

}  // namespace

TextEditor::LanguageDefinition TextEditor::LanguageDefinition::HLSL()
{
    static const LanguageDefinition hlsl = BuildHlsl();
    return hlsl;
}

TextEditor::LanguageDefinition TextEditor::LanguageDefinition::Lua()
{
    static const LanguageDefinition lua = BuildLua();
    return lua;
}
