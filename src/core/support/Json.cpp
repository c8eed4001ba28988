#include "core/support/Json.h"

#include <cmath>
#include <limits>
#include <memory>

namespace tolvane::json {

void DecodeError::prependKey(std::string_view key)
{
    std::string path;
    path.reserve(key.size() + 1 + path_.size());
    path.append(key);
    if (!path_.empty() && path_.front() != '[')
        path.push_back('.');
    path.append(path_);
    path_ = std::move(path);
}

void DecodeError::prependIndex(size_t index)
{
    std::string path(1, '[');
    path.append(std::to_string(index));
    path.push_back(']');
    if (!path_.empty() && path_.front() != '[')
        path.push_back('.');
    path.append(path_);
    path_ = std::move(path);
}

std::string DecodeError::message() const
{
    return path_.empty() ? problem_ : path_ + ": " + problem_;
}

const char* DecodeError::what() const noexcept
{
    what_ = message();
    return what_.c_str();
}

namespace {

[[noreturn]] void fail(const char* expected)
{
    throw DecodeError(std::string("expected ") + expected);
}

// An integer given as a number with no fractional part (3.0) is accepted; 3.5 is not.
bool integralDouble(double d)
{
    return std::isfinite(d) && std::trunc(d) == d;
}

} // namespace

int64_t Value::toInt64() const
{
    switch (element_.type()) {
    case simdjson::dom::element_type::INT64:
        return element_.get_int64().value_unsafe();
    case simdjson::dom::element_type::UINT64:
        throw DecodeError("integer out of range");
    case simdjson::dom::element_type::DOUBLE: {
        double d = element_.get_double().value_unsafe();
        if (!integralDouble(d))
            fail("integer");
        // 2^63 is exactly representable; anything at or above it does not fit.
        if (d < -9223372036854775808.0 || d >= 9223372036854775808.0)
            throw DecodeError("integer out of range");
        return static_cast<int64_t>(d);
    }
    default:
        fail("integer");
    }
}

int32_t Value::toInt32() const
{
    int64_t v = toInt64();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw DecodeError("integer out of range");
    return static_cast<int32_t>(v);
}

uint64_t Value::toUInt64() const
{
    switch (element_.type()) {
    case simdjson::dom::element_type::UINT64:
        return element_.get_uint64().value_unsafe();
    case simdjson::dom::element_type::INT64: {
        int64_t v = element_.get_int64().value_unsafe();
        if (v < 0)
            throw DecodeError("integer out of range");
        return static_cast<uint64_t>(v);
    }
    case simdjson::dom::element_type::DOUBLE: {
        double d = element_.get_double().value_unsafe();
        if (!integralDouble(d))
            fail("integer");
        if (d < 0 || d >= 18446744073709551616.0)
            throw DecodeError("integer out of range");
        return static_cast<uint64_t>(d);
    }
    default:
        fail("integer");
    }
}

double Value::toDouble() const
{
    switch (element_.type()) {
    case simdjson::dom::element_type::DOUBLE:
        return element_.get_double().value_unsafe();
    case simdjson::dom::element_type::INT64:
        return static_cast<double>(element_.get_int64().value_unsafe());
    case simdjson::dom::element_type::UINT64:
        return static_cast<double>(element_.get_uint64().value_unsafe());
    default:
        fail("number");
    }
}

bool Value::toBool() const
{
    if (!element_.is_bool())
        fail("boolean");
    return element_.get_bool().value_unsafe();
}

std::string_view Value::toStringView() const
{
    if (!element_.is_string())
        fail("string");
    return element_.get_string().value_unsafe();
}

QString Value::toString() const
{
    std::string_view s = toStringView();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

Object Value::toObject() const
{
    if (!element_.is_object())
        fail("object");
    return Object(element_.get_object().value_unsafe());
}

Array Value::toArray() const
{
    if (!element_.is_array())
        fail("array");
    return Array(element_.get_array().value_unsafe());
}

bool Object::contains(std::string_view key) const
{
    return object_.at_key(key).error() == simdjson::SUCCESS;
}

std::optional<Value> Object::find(std::string_view key) const
{
    simdjson::dom::element element;
    if (object_.at_key(key).get(element) != simdjson::SUCCESS || element.is_null())
        return std::nullopt;
    return Value(element);
}

namespace detail {

std::string withDocument(QByteArrayView bytes, const std::function<void(Value)>& visit)
{
    // One parser per thread, reused, so the snapshots decoded several times a second allocate
    // nothing; a nested decode on the same thread gets its own.
    thread_local simdjson::dom::parser shared;
    thread_local bool busy = false;
    std::unique_ptr<simdjson::dom::parser> own;
    simdjson::dom::parser* parser = &shared;
    if (busy) {
        own = std::make_unique<simdjson::dom::parser>();
        parser = own.get();
    }
    struct Guard {
        bool& flag;
        simdjson::dom::parser* reused;
        size_t size;
        ~Guard()
        {
            if (!reused)
                return;
            flag = false;
            // A parser keeps about fifteen times the largest document it has read. Worth it for
            // snapshots; not for a catalog read once, nor for whatever a broken peer sends.
            if (size > largeDocument)
                *reused = simdjson::dom::parser();
        }
    } guard {busy, own ? nullptr : parser, static_cast<size_t>(bytes.size())};
    if (!own)
        busy = true;

    simdjson::dom::element root;
    // An empty QByteArray has no buffer at all; simdjson must not be handed a null pointer.
    static const char noBytes[1] = {};
    const char* data = bytes.data() ? bytes.data() : noBytes;
    auto error = parser->parse(reinterpret_cast<const uint8_t*>(data), static_cast<size_t>(bytes.size())).get(root);
    if (error != simdjson::SUCCESS)
        return std::string("invalid JSON: ") + simdjson::error_message(error);
    try {
        visit(Value(root));
    } catch (const DecodeError& e) {
        std::string message = e.message();
        return message.empty() ? std::string("decode failed") : message;
    }
    return {};
}

} // namespace detail
} // namespace tolvane::json
