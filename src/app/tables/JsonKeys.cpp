#include "app/tables/JsonKeys.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/NumberChars.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"

namespace rh::json {

bool InRange(double v, const Range& r) {
  return (r.LowIn ? v >= r.Low : v > r.Low) && (r.HighIn ? v <= r.High : v < r.High);
}

std::string Describe(const Range& r) {
  return std::string(r.LowIn ? "at least " : "above ") + PlainNumber(r.Low) +
         (r.HighIn ? " and at most " : " and below ") + PlainNumber(r.High);
}

Reader::Reader(const std::string& name, const FileWords& words)
    : name_(ShownText(name)), words_(words) {}

void Reader::Refuse(const std::string& text) const {
  throw Refused(words_.Title, name_ + ": " + text, words_.Entry);
}

void Reader::RefuseAt(const std::string& path, const std::string& rest) const {
  throw Refused(words_.Title, name_ + ": " + path + rest, words_.Entry, path);
}

void Reader::WrongKind(const std::string& path, const char* kind) const {
  RefuseAt(path, messages::kPondJsonKindText + std::string(kind) + ".");
}

std::string At(const std::string& path, std::size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

Object::Object(const Reader& reader, const Json& value, std::string path)
    : r_(reader), v_(value), path_(std::move(path)) {
  if (!v_.is_object())
    r_.WrongKind(path_.empty() ? std::string(messages::kPondJsonFileText) : path_,
                 messages::kPondJsonObjectKind);
}

std::string Object::Path(const std::string& key) const {
  return path_.empty() ? key : path_ + "." + key;
}

const Json* Object::Find(const char* key) {
  const auto it = v_.find(key);
  if (it == v_.end())
    return nullptr;
  used_.insert(key);
  return &*it;
}

const Json& Object::Need(const char* key) {
  if (const Json* value = Find(key))
    return *value;
  r_.RefuseAt(Path(key), messages::kPondJsonMissingText);
}

double NumberAt(const Reader& r, const Json& value, const std::string& path, const Range& range) {
  if (!value.is_number())
    r.WrongKind(path, messages::kPondJsonNumberKind);
  const double v = value.get<double>() + 0.0;  // no -0
  if (!std::isfinite(v) || !InRange(v, range))
    r.RefuseAt(path,
               " is " + PlainNumber(v) + messages::kPondJsonRangeText + Describe(range) + ".");
  return v;
}

double Object::Number(const char* key, const Range& range, std::optional<double> fallback) {
  const Json* value = fallback ? Find(key) : &Need(key);
  if (!value)
    return *fallback;
  return NumberAt(r_, *value, Path(key), range);
}

long Object::Whole(const char* key, long low, long high, long fallback) {
  const Json* value = Find(key);
  if (!value)
    return fallback;
  if (!value->is_number_integer())
    r_.WrongKind(Path(key), messages::kPondJsonWholeKind);
  const long long v = value->is_number_unsigned()
                          ? static_cast<long long>(std::min<std::uint64_t>(
                                value->get<std::uint64_t>(), static_cast<std::uint64_t>(high) + 1))
                          : value->get<long long>();
  if (v < low || v > high)
    r_.RefuseAt(Path(key), messages::kPondJsonKindText + std::string("a whole number from ") +
                               std::to_string(low) + " to " + std::to_string(high) + ".");
  return static_cast<long>(v);
}

std::optional<std::string> Object::Text(const char* key) {
  const Json* value = Find(key);
  if (!value)
    return std::nullopt;
  if (!value->is_string())
    r_.WrongKind(Path(key), messages::kPondJsonTextKind);
  return value->get<std::string>();
}

std::string Object::Choice(const char* key, std::initializer_list<const char*> choices,
                           const char* fallback) {
  if (!fallback)
    Need(key);
  const std::optional<std::string> text = Text(key);
  if (!text)
    return fallback;
  std::string listed;
  for (const char* choice : choices) {
    if (*text == choice)
      return *text;
    listed += (listed.empty() ? "" : ", ") + std::string(choice);
  }
  r_.RefuseAt(Path(key), messages::kPondJsonChoiceText + listed + ", not " + Quoted(*text) + ".");
}

bool Object::Flag(const char* key, bool fallback) {
  const Json* value = Find(key);
  if (!value)
    return fallback;
  if (!value->is_boolean())
    r_.WrongKind(Path(key), messages::kPondJsonFlagKind);
  return value->get<bool>();
}

void Object::Done() const {
  for (auto it = v_.begin(); it != v_.end(); ++it) {
    if (used_.count(it.key()) == 0)
      r_.RefuseAt(Path(ShownText(it.key(), 40)), r_.Words().Unknown);
  }
}

const Json& List(const Reader& r, const Json& value, const std::string& path) {
  if (!value.is_array())
    r.WrongKind(path, messages::kPondJsonListKind);
  return value;
}

namespace {

// Whole numbers below 2^53 are exact as doubles and as integers.
constexpr double kWholeLimit = 9007199254740992.0;

}  // namespace

std::string Trimmed(const std::string& typed) {
  const auto first = typed.find_first_not_of(" \t\r\n");
  if (first == std::string::npos)
    return "";
  return typed.substr(first, typed.find_last_not_of(" \t\r\n") - first + 1);
}

Json TypedValue(const std::string& typed) {
  const std::string text = Trimmed(typed);
  if (text.empty())
    return Json();
  double value = 0;
  const char* end = text.data() + text.size();
  const auto read = numberchars::Read(text.data(), end, value, std::chars_format::general);
  if (read.ec == std::errc() && read.ptr == end && std::isfinite(value)) {
    if (std::floor(value) == value && std::fabs(value) < kWholeLimit)
      return static_cast<std::int64_t>(value);
    return value;
  }
  if (text == "true" || text == "false")
    return text == "true";
  return text;
}

Json Parse(const Reader& r, std::string_view text) {
  std::vector<std::set<std::string>> keys;  // of each open object
  const Json::parser_callback_t check = [&](int depth, Json::parse_event_t event, Json& parsed) {
    if (depth > r.Words().DeepestNesting)
      r.Refuse(r.Words().Deep);
    if (event == Json::parse_event_t::object_start)
      keys.emplace_back();
    else if (event == Json::parse_event_t::object_end && !keys.empty())
      keys.pop_back();
    else if (event == Json::parse_event_t::key && !keys.empty() &&
             !keys.back().insert(parsed.get<std::string>()).second)
      r.Refuse(messages::kPondJsonTwiceText + Quoted(parsed.get<std::string>()) + ".");
    return true;
  };
  try {
    return Json::parse(text.begin(), text.end(), check);
  } catch (const Json::exception& e) {
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag.
    std::string what = e.what();
    const std::size_t tag = what.find("] ");
    if (tag != std::string::npos)
      what.erase(0, tag + 2);
    r.Refuse(r.Words().Syntax + ShownText(what, 160));
  }
}

}  // namespace rh::json
