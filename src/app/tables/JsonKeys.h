// Reading a JSON file whose keys are checked at every place: each value of its kind and in its
// range, no key the file does not know, none twice. The pond file and the study file are read
// through these; their refusals name the file and the key path (outlets[2].diameter_in, lists
// counted from 0).
#pragma once

#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "core/Faults.h"

namespace rh::json {

using Json = nlohmann::json;

// The values a number may take: from Low to High, each end in or out.
struct Range {
  double Low;
  bool LowIn;
  double High;
  bool HighIn;
};

bool InRange(double v, const Range& r);

// "above 0 and at most 1"
std::string Describe(const Range& r);

// What a kind of file's refusals say: their title and entry, the text after an unknown key's path
// (" is not a key of a pond file at this place."), the text before a syntax error, and how deep
// its lists and objects may nest, and what nesting deeper is told.
struct FileWords {
  const char* Title;
  RunEntry Entry;
  const char* Unknown;
  const char* Syntax;
  const char* Deep;  // a file nested deeper than its kind allows
  int DeepestNesting;
};

// The refusals of one file, `name`.
class Reader {
 public:
  Reader(const std::string& name, const FileWords& words);

  const FileWords& Words() const { return words_; }
  [[noreturn]] void Refuse(const std::string& text) const;
  // A refusal about the value at `path`: its text is `path` then `rest`, and it carries the path.
  [[noreturn]] void RefuseAt(const std::string& path, const std::string& rest) const;
  [[noreturn]] void WrongKind(const std::string& path, const char* kind) const;

 private:
  std::string name_;  // as messages show it
  FileWords words_;
};

// "basins[1]"
std::string At(const std::string& path, std::size_t index);

// One object of the file, at `path` ("" for the file's top): its values are read by key, and
// Done() refuses the keys that were never read (those the file does not know at this place).
class Object {
 public:
  Object(const Reader& reader, const Json& value, std::string path);

  std::string Path(const std::string& key) const;
  bool Has(const char* key) const { return v_.contains(key); }
  const Json* Find(const char* key);
  const Json& Need(const char* key);
  // A finite number within `range`; `fallback` when the key is absent (none: it must be there).
  double Number(const char* key, const Range& range, std::optional<double> fallback = {});
  long Whole(const char* key, long low, long high, long fallback);
  std::optional<std::string> Text(const char* key);
  // One of `choices`; `fallback` when the key is absent (none: the key must be there).
  std::string Choice(const char* key, std::initializer_list<const char*> choices,
                     const char* fallback = nullptr);
  bool Flag(const char* key, bool fallback);
  void Done() const;

 private:
  const Reader& r_;
  const Json& v_;
  std::string path_;
  std::set<std::string> used_;
};

// The list at `path`.
const Json& List(const Reader& r, const Json& value, const std::string& path);

// A number of a list or an object's value at `path`, finite and within `range`.
double NumberAt(const Reader& r, const Json& value, const std::string& path, const Range& range);

// `typed`, an editor's text, without the spaces, tabs and line ends around it.
std::string Trimmed(const std::string& typed);

// A value as a JSON file holds it when the user typed `typed` in an editor of the file: a number
// when the whole text reads as one (a whole number stays whole, for counts), true or false, or
// else the text itself (which the reader then refuses where it wants a number). Blank text is
// null.
Json TypedValue(const std::string& typed);

// Parses `text`, refusing a key that appears twice in one object and nesting deeper than the
// file's kind allows.
Json Parse(const Reader& r, std::string_view text);

}  // namespace rh::json
