// A control's members as the server sees them: one row per member of the
// control's default interface, binding the type library's member name to
// the portable control's getter, setter or method. The generic server code
// (dispatch, the vtable, change notification) works from these rows and the
// type library; a control's adapter only lists its rows.
//
// Rows exchange the library's Variant: arguments arrive converted from the
// caller's types and are converted again to the parameter types of the
// control's own functions, with the runtime's conversion errors.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/font.h"
#include "core/runtime_error.h"
#include "core/variant.h"
#include "library/control.h"

namespace qs::activex {

// One member of a default interface. A property has a getter and/or a
// setter taking the same leading index arguments; a method has a call.
struct MemberRow {
  using Args = std::span<const Variant>;
  std::u16string_view name;       // the member's name in the type library
  std::u16string_view store_key;  // the key its changes are announced under, if not name
  std::function<Variant(Control&, Args)> get;
  std::function<void(Control&, Args, const Variant&)> put;  // put or putref
  std::function<Variant(Control&, Args)> call;
  int index_count = 0;  // leading index arguments of a property
  int arg_count = 0;    // arguments of a method

  // The key this member's changes are announced under.
  std::u16string_view key() const { return store_key.empty() ? name : store_key; }
  // The same row with its changes announced under another key.
  MemberRow stored_as(std::u16string_view key) && {
    store_key = key;
    return std::move(*this);
  }
};

// An enumeration the control uses, as the type library declares it.
struct EnumDecl {
  std::u16string_view name;
  std::vector<std::pair<std::u16string_view, int32_t>> members;
};

// An event the control raises, with its dispatch id.
struct EventDecl {
  std::u16string_view name;
  int dispid;
};

// Everything the server knows of one control's interface.
struct MemberTable {
  std::vector<MemberRow> rows;
  std::vector<EventDecl> events;
  std::vector<EnumDecl> enums;

  // The row of a member; names compare as the type library compares them,
  // without regard to case.
  const MemberRow* find(std::u16string_view name) const {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (const MemberRow& r : rows)
      if (r.name.size() == name.size() &&
          std::equal(r.name.begin(), r.name.end(), name.begin(),
                     [&](char16_t a, char16_t b) { return lower(a) == lower(b); }))
        return &r;
    return nullptr;
  }
};

namespace member_detail {

// A control function's parameter from a library value, with the runtime's
// conversion rules (overflow 6, type mismatch 13).
template <class T, class U = std::remove_cvref_t<T>>
U arg(const Variant& v) {
  if constexpr (std::is_same_v<U, Variant>) return v;
  else if constexpr (std::is_same_v<U, bool>) return v.to_boolean();
  else if constexpr (std::is_same_v<U, int16_t>) return v.to_integer();
  else if constexpr (std::is_same_v<U, int32_t>) return v.to_long();
  // Colours travel as the 32-bit pattern of their value.
  else if constexpr (std::is_same_v<U, uint32_t>) return uint32_t(v.to_long());
  else if constexpr (std::is_same_v<U, float>) return v.to_single();
  else if constexpr (std::is_same_v<U, double>) return v.to_double();
  else if constexpr (std::is_same_v<U, std::u16string>) return v.to_text();
  else if constexpr (std::is_same_v<U, FontRef>) return v.to_font();
  else if constexpr (std::is_same_v<U, PictureRef>) return v.to_picture();
  else if constexpr (std::is_enum_v<U>) return U(v.to_long());
  else static_assert(sizeof(U) == 0, "no conversion from Variant to this parameter type");
}

// A library value from what a control function returns.
template <class T>
Variant value_of(T&& value) {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<U, uint32_t>) return Variant(int32_t(value));
  else if constexpr (std::is_enum_v<U>) return Variant(int32_t(value));
  else return Variant(std::forward<T>(value));
}

// Runs fn with the arguments converted to Params; a missing argument (an
// omitted optional one) arrives as Variant::missing().
template <class... Params, class Fn>
decltype(auto) apply_args(MemberRow::Args args, Fn&& fn) {
  return [&]<size_t... I>(std::index_sequence<I...>) -> decltype(auto) {
    return fn(arg<Params>(I < args.size() ? args[I] : Variant::missing())...);
  }(std::index_sequence_for<Params...>{});
}

}  // namespace member_detail

// A property without index: getter and setter of the control class C.
template <class C, class R, class P>
MemberRow property(std::u16string_view name, R (C::*get)() const, void (C::*set)(P)) {
  MemberRow row;
  row.name = name;
  row.get = [get](Control& c, MemberRow::Args) {
    return member_detail::value_of((static_cast<C&>(c).*get)());
  };
  row.put = [set](Control& c, MemberRow::Args, const Variant& v) {
    (static_cast<C&>(c).*set)(member_detail::arg<P>(v));
  };
  return row;
}

// A property that can only be read.
template <class C, class R>
MemberRow read_only(std::u16string_view name, R (C::*get)() const) {
  MemberRow row;
  row.name = name;
  row.get = [get](Control& c, MemberRow::Args) {
    return member_detail::value_of((static_cast<C&>(c).*get)());
  };
  return row;
}

// A property with one index argument (the control's items).
template <class C, class R, class I, class P>
MemberRow indexed(std::u16string_view name, R (C::*get)(I) const, void (C::*set)(I, P)) {
  MemberRow row;
  row.name = name;
  row.index_count = 1;
  row.get = [get](Control& c, MemberRow::Args a) {
    return member_detail::value_of((static_cast<C&>(c).*get)(member_detail::arg<I>(a[0])));
  };
  row.put = [set](Control& c, MemberRow::Args a, const Variant& v) {
    (static_cast<C&>(c).*set)(member_detail::arg<I>(a[0]), member_detail::arg<P>(v));
  };
  return row;
}

// A method of the control class C (C's own or inherited from Control).
template <class C, class R, class... A>
MemberRow method(std::u16string_view name, R (C::*fn)(A...)) {
  MemberRow row;
  row.name = name;
  row.arg_count = int(sizeof...(A));
  row.call = [fn](Control& c, MemberRow::Args a) -> Variant {
    auto& self = static_cast<C&>(c);
    return member_detail::apply_args<A...>(a, [&](auto&&... v) -> Variant {
      if constexpr (std::is_void_v<R>) {
        (self.*fn)(std::forward<decltype(v)>(v)...);
        return Variant();
      } else {
        return member_detail::value_of((self.*fn)(std::forward<decltype(v)>(v)...));
      }
    });
  };
  return row;
}

}  // namespace qs::activex
