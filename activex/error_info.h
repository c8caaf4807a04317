// Turns the library's failures into what COM callers expect: an HRESULT of
// the runtime's kind (0x800A0000 + number) with the error object set.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <new>
#include <string>

#include "core/runtime_error.h"

namespace qs::activex {

// The HRESULT of a runtime error number.
constexpr HRESULT runtime_hresult(int32_t number) {
  return HRESULT(0x800A0000u | (uint32_t(number) & 0xFFFFu));
}

// Sets the thread's error object (source, description, interface) and
// returns the HRESULT of the error.
HRESULT report_error(const RuntimeError& error, const std::u16string& source, REFIID iid);
// Clears the thread's error object (a call that succeeded).
void clear_error();

// A failed platform call, carried out of a body to its HRESULT.
struct ComFailure {
  HRESULT hr;
};

// Runs body; a runtime error becomes its HRESULT with error information,
// other failures E_OUTOFMEMORY or E_FAIL. Exceptions never cross COM.
template <class Body>
HRESULT guarded(const std::u16string& source, REFIID iid, Body&& body) {
  try {
    body();
    return S_OK;
  } catch (const RuntimeError& e) {
    return report_error(e, source, iid);
  } catch (const ComFailure& e) {
    return e.hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// Runs body, which returns an HRESULT, at a COM entry point that sets no
// error information: a failed platform call gives its HRESULT, a runtime
// error its runtime HRESULT, out of memory E_OUTOFMEMORY, anything else
// E_FAIL. Nothing crosses the boundary.
template <class Body>
HRESULT entry_guard(Body&& body) noexcept {
  try {
    return body();
  } catch (const ComFailure& e) {
    return e.hr;
  } catch (const RuntimeError& e) {
    return runtime_hresult(e.number());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace qs::activex
