// How C++ results travel through a method implementation: a Ref<T> result
// leaves as Retained<T> and is adopted by the receiving side.
#pragma once

#include <objc/runtime.h>

#include "ObjectModel/Ref.h"

// Implementations are stored as IMP and called through their real type.
template <class F> IMP toIMP(F* function) {
    return reinterpret_cast<IMP>(reinterpret_cast<void (*)()>(function));
}
template <class F> F* fromIMP(IMP imp) {
    return reinterpret_cast<F*>(reinterpret_cast<void (*)()>(imp));
}

template <class R> struct ImpResult { using type = R; };
template <class T> struct ImpResult<Ref<T>> { using type = Retained<T>; };
template <class R> using ImpResultT = typename ImpResult<R>::type;

template <class R> ImpResultT<R> toImpResult(R&& result) {
    if constexpr (IsRef<R>::value)
        return std::move(result).retained();
    else
        return result;
}
