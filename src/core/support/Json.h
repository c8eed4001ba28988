#pragma once
// Strict JSON decoding over simdjson's DOM: keys matched exactly, unknown keys ignored, a missing
// or null optional is absent, and any missing required key or wrong type fails the whole
// document with a message naming the key path ("activePlayer.level: expected integer").

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include <simdjson.h>

namespace tolvane::json {

// Thrown inside decoders only; caught at the document's edge by decode().
class DecodeError : public std::exception {
public:
    explicit DecodeError(std::string problem)
        : problem_(std::move(problem))
    {
    }
    // Called while unwinding through a key or index, so the path is built only on failure.
    void prependKey(std::string_view key);
    void prependIndex(size_t index);
    std::string message() const;
    const char* what() const noexcept override;

private:
    std::string path_;
    std::string problem_;
    mutable std::string what_;
};

class Object;
class Array;

// One value inside a parsed document; valid only while the document is being decoded.
class Value {
public:
    explicit Value(simdjson::dom::element element)
        : element_(element)
    {
    }

    bool isNull() const { return element_.is_null(); }
    bool isObject() const { return element_.is_object(); }
    bool isArray() const { return element_.is_array(); }
    bool isString() const { return element_.is_string(); }

    int64_t toInt64() const;
    int32_t toInt32() const;
    uint64_t toUInt64() const;
    double toDouble() const;
    bool toBool() const;
    std::string_view toStringView() const;
    QString toString() const;
    Object toObject() const;
    Array toArray() const;

    simdjson::dom::element raw() const { return element_; }

private:
    simdjson::dom::element element_;
};

class Array {
public:
    explicit Array(simdjson::dom::array array)
        : array_(array)
    {
    }
    size_t size() const { return array_.size(); }

    // Converts every element in order; a failure names the element's index.
    template <class F>
    auto map(F&& convert) const -> std::vector<std::decay_t<decltype(convert(std::declval<Value>()))>>
    {
        std::vector<std::decay_t<decltype(convert(std::declval<Value>()))>> out;
        out.reserve(array_.size());
        size_t index = 0;
        for (simdjson::dom::element element : array_) {
            try {
                out.push_back(convert(Value(element)));
            } catch (DecodeError& e) {
                e.prependIndex(index);
                throw;
            }
            ++index;
        }
        return out;
    }

    template <class F> void forEach(F&& visit) const
    {
        size_t index = 0;
        for (simdjson::dom::element element : array_) {
            try {
                visit(Value(element));
            } catch (DecodeError& e) {
                e.prependIndex(index);
                throw;
            }
            ++index;
        }
    }

private:
    simdjson::dom::array array_;
};

class Object {
public:
    explicit Object(simdjson::dom::object object)
        : object_(object)
    {
    }

    bool contains(std::string_view key) const;
    // The value under key when present and not null.
    std::optional<Value> find(std::string_view key) const;

    // Required member: missing or null fails with "key: missing"; errors of convert name the key.
    template <class F>
    auto required(std::string_view key, F&& convert) const -> std::decay_t<decltype(convert(std::declval<Value>()))>
    {
        auto value = find(key);
        if (!value) {
            DecodeError error("missing");
            error.prependKey(key);
            throw error;
        }
        try {
            return convert(*value);
        } catch (DecodeError& e) {
            e.prependKey(key);
            throw;
        }
    }

    // Optional member: missing or null is absent; a present value of the wrong type still fails.
    template <class F>
    auto optional(std::string_view key, F&& convert) const
        -> std::optional<std::decay_t<decltype(convert(std::declval<Value>()))>>
    {
        auto value = find(key);
        if (!value)
            return std::nullopt;
        try {
            return convert(*value);
        } catch (DecodeError& e) {
            e.prependKey(key);
            throw;
        }
    }

    // Shorthands for the common leaf types.
    int64_t int64(std::string_view key) const
    {
        return required(key, [](Value v) { return v.toInt64(); });
    }
    int32_t int32(std::string_view key) const
    {
        return required(key, [](Value v) { return v.toInt32(); });
    }
    double number(std::string_view key) const
    {
        return required(key, [](Value v) { return v.toDouble(); });
    }
    bool boolean(std::string_view key) const
    {
        return required(key, [](Value v) { return v.toBool(); });
    }
    QString string(std::string_view key) const
    {
        return required(key, [](Value v) { return v.toString(); });
    }
    std::optional<int64_t> optInt64(std::string_view key) const
    {
        return optional(key, [](Value v) { return v.toInt64(); });
    }
    std::optional<int32_t> optInt32(std::string_view key) const
    {
        return optional(key, [](Value v) { return v.toInt32(); });
    }
    std::optional<double> optNumber(std::string_view key) const
    {
        return optional(key, [](Value v) { return v.toDouble(); });
    }
    std::optional<bool> optBoolean(std::string_view key) const
    {
        return optional(key, [](Value v) { return v.toBool(); });
    }
    std::optional<QString> optString(std::string_view key) const
    {
        return optional(key, [](Value v) { return v.toString(); });
    }

    // Members in document order (for maps keyed by arbitrary strings).
    template <class F> void forEach(F&& visit) const
    {
        for (auto field : object_) {
            try {
                visit(field.key, Value(field.value));
            } catch (DecodeError& e) {
                e.prependKey(field.key);
                throw;
            }
        }
    }

    size_t size() const { return object_.size(); }
    simdjson::dom::object raw() const { return object_; }

private:
    simdjson::dom::object object_;
};

// The outcome of decoding one document: the value, or the decoder's description of the failure.
template <class T> struct Decoded {
    std::optional<T> value;
    QString error;

    explicit operator bool() const { return value.has_value(); }
};

namespace detail {
// Documents above this size do not leave their parser's capacity behind (snapshots and sessions
// are a few tens of KB; the catalogs 150 KB to one megabyte).
inline constexpr size_t largeDocument = 128 * 1024;
// Parses into a per-thread parser (reused: allocating one per document costs more than the parse)
// and hands the root to visit. Returns an empty string on success, else the failure's text.
std::string withDocument(QByteArrayView bytes, const std::function<void(Value)>& visit);
} // namespace detail

// Decodes one whole document with convert; no partial results.
template <class T, class F> Decoded<T> decode(QByteArrayView bytes, F&& convert)
{
    Decoded<T> out;
    std::string error = detail::withDocument(bytes, [&](Value root) { out.value.emplace(convert(root)); });
    if (!error.empty()) {
        out.value.reset();
        out.error = QString::fromStdString(error);
    }
    return out;
}

} // namespace tolvane::json
