#pragma once
// For result codes that must not meet the codes of another set: a static_assert on
// !Comparable<A, B> fails the build when someone makes them comparable again.

namespace vesk::test {

template <typename A, typename B>
concept Comparable = requires(A a, B b) {
  a == b;
};

}  // namespace vesk::test
