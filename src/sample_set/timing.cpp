#include "sample_set/timing.hpp"

#include <array>

#include "sample_set/float_text.hpp"
#include "sample_set/json_reader.hpp"
#include "sample_set/json_writer.hpp"

namespace vn {

std::string seconds_text(const Seconds& seconds) {
  return seconds ? float_text(*seconds, FloatStyle::Display) : "None";
}

namespace {

template <class T>
std::string text_of(const T& time) {
  std::string out = std::string(Timing<T>::name) + "(";
  bool first = true;
  for (const auto& field : Timing<T>::fields) {
    if (!first) out += ", ";
    first = false;
    out += std::string(field.name) + "=" + seconds_text(time.*field.member);
  }
  return out + ")";
}

template <class T>
void write(JsonWriter& json, const T& time) {
  json.begin_object();
  for (const auto& field : Timing<T>::fields) json.key(field.name).value(time.*field.member);
  json.end_object();
}

template <class T>
std::string json_of(const T& time) {
  JsonWriter json;
  write(json, time);
  return json.take();
}

template <class T>
std::span<const char* const> field_names() {
  static const auto names = [] {
    std::array<const char*, std::size(Timing<T>::fields)> all{};
    for (size_t i = 0; i < all.size(); ++i) all[i] = Timing<T>::fields[i].name;
    return all;
  }();
  return names;
}

// Every field may be absent or null.
template <class T>
T read(JsonReader& json) {
  T time;
  json.read_fields(field_names<T>(), [&](size_t field) {
    time.*Timing<T>::fields[field].member = json.read_optional_float();
  });
  return time;
}

}  // namespace

std::string to_text(const SolvingTime& time) { return text_of(time); }
std::string to_text(const SystemTime& time) { return text_of(time); }
std::string to_text(const MeasuringTime& time) {
  return "MeasuringTime(solve=" + to_text(time.solve) + ", system=" + to_text(time.system) +
         ", total=" + seconds_text(time.total) + ")";
}

std::string to_json(const SolvingTime& time) { return json_of(time); }
std::string to_json(const SystemTime& time) { return json_of(time); }

std::string to_json(const MeasuringTime& time) {
  JsonWriter json;
  json.begin_object();
  write(json.key("solve"), time.solve);
  write(json.key("system"), time.system);
  json.key("total").value(time.total);
  return json.end_object().take();
}

SolvingTime solving_time_from_json(std::string_view text) {
  JsonReader json(text);
  return read<SolvingTime>(json);
}

SystemTime system_time_from_json(std::string_view text) {
  JsonReader json(text);
  return read<SystemTime>(json);
}

MeasuringTime measuring_time_from_json(std::string_view text) {
  JsonReader json(text);
  MeasuringTime time;
  const char* const names[] = {"solve", "system", "total"};
  const uint64_t seen = json.read_fields(names, [&](size_t field) {
    if (field == 0) {
      time.solve = read<SolvingTime>(json);
    } else if (field == 1) {
      time.system = read<SystemTime>(json);
    } else {
      time.total = json.read_optional_float();
    }
  });
  json.require(seen, names, 0b011);
  return time;
}

}  // namespace vn
