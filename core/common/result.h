#pragma once
// A value or an error, for operations that cross module boundaries.
#include <utility>
#include <variant>

namespace kz {

template <class T, class E>
class [[nodiscard]] Result {
public:
    Result(T value) : data_(std::in_place_index<0>, std::move(value)) {}
    static Result failure(E error) { return Result(std::in_place_index<1>, std::move(error)); }

    bool ok() const { return data_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() & { return std::get<0>(data_); }
    const T& value() const& { return std::get<0>(data_); }
    T&& value() && { return std::get<0>(std::move(data_)); }
    const E& error() const { return std::get<1>(data_); }

private:
    template <std::size_t I, class V>
    Result(std::in_place_index_t<I> tag, V&& v) : data_(tag, std::forward<V>(v)) {}
    std::variant<T, E> data_;
};

}  // namespace kz
