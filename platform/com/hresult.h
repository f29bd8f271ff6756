#pragma once
// Result codes of the automation layer. The numeric values are the ones callers and
// scripts compare against, so they are fixed here once.
#include <cstdint>

namespace vexlo::com {

using HRESULT = int32_t;

constexpr HRESULT MakeResult(uint32_t bits) { return static_cast<HRESULT>(bits); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeResult(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = MakeResult(0x80004002u);
inline constexpr HRESULT E_POINTER = MakeResult(0x80004003u);
inline constexpr HRESULT E_FAIL = MakeResult(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = MakeResult(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057u);
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeResult(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeResult(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeResult(0x80020004u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeResult(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeResult(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = MakeResult(0x80020007u);
inline constexpr HRESULT DISP_E_EXCEPTION = MakeResult(0x80020009u);
inline constexpr HRESULT DISP_E_BADINDEX = MakeResult(0x8002000Bu);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeResult(0x8002000Eu);
inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = MakeResult(0x8002802Bu);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

}  // namespace vexlo::com
