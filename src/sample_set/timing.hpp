#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vn {

using Seconds = std::optional<double>;  // a duration in seconds, or none when not measured

// A timing record's field: its name and where the record keeps it.
template <class T>
struct SecondsField {
  const char* name;
  Seconds T::* member;
};

// The solver's own stages.
struct SolvingTime {
  Seconds preprocess, solve, postprocess;
  friend bool operator==(const SolvingTime&, const SolvingTime&) = default;
};

// The stages of a remote run on the solving service.
struct SystemTime {
  Seconds post_problem_and_instance_data, request_queue, fetch_problem_and_instance_data,
      fetch_result, deserialize_solution;
  friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

struct MeasuringTime {
  SolvingTime solve;
  SystemTime system;
  Seconds total;
  friend bool operator==(const MeasuringTime&, const MeasuringTime&) = default;
};

// Each timing record's name and fields, in field order: the one description that the text
// form, JSON and the bindings all follow.
template <class T>
struct Timing;

template <>
struct Timing<SolvingTime> {
  static constexpr const char* name = "SolvingTime";
  static constexpr SecondsField<SolvingTime> fields[] = {
      {"preprocess", &SolvingTime::preprocess},
      {"solve", &SolvingTime::solve},
      {"postprocess", &SolvingTime::postprocess},
  };
};

template <>
struct Timing<SystemTime> {
  static constexpr const char* name = "SystemTime";
  static constexpr SecondsField<SystemTime> fields[] = {
      {"post_problem_and_instance_data", &SystemTime::post_problem_and_instance_data},
      {"request_queue", &SystemTime::request_queue},
      {"fetch_problem_and_instance_data", &SystemTime::fetch_problem_and_instance_data},
      {"fetch_result", &SystemTime::fetch_result},
      {"deserialize_solution", &SystemTime::deserialize_solution},
  };
};

// "None", or positional digits without a trailing ".0" ("1", "0.5", "0.0000001").
std::string seconds_text(const Seconds& seconds);

std::string to_text(const SolvingTime& time);
std::string to_text(const SystemTime& time);
std::string to_text(const MeasuringTime& time);

std::string to_json(const SolvingTime& time);
std::string to_json(const SystemTime& time);
std::string to_json(const MeasuringTime& time);

SolvingTime solving_time_from_json(std::string_view text);
SystemTime system_time_from_json(std::string_view text);
MeasuringTime measuring_time_from_json(std::string_view text);

}  // namespace vn
