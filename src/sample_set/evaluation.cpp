#include "sample_set/evaluation.hpp"

#include "model/error.hpp"
#include "sample_set/float_text.hpp"
#include "sample_set/json_reader.hpp"
#include "sample_set/json_writer.hpp"
#include "sample_set/ragged.hpp"

namespace vn {

namespace {

Values select_values(const Values& values, std::span<const size_t> positions,
                     const std::string& what) {
  if (values.empty()) return values;
  if (!positions.empty() && positions.back() >= values.size()) {
    fail(ErrorKind::Value, "cannot select sample " + std::to_string(positions.back()) + ": " +
                               what + " holds " + std::to_string(values.size()) + " samples");
  }
  return gather(values, positions);
}

ValueMap select_map(const ValueMap& map, std::span<const size_t> positions, const char* what) {
  ValueMap kept;
  for (const auto& [name, values] : map) {
    kept.emplace(name, select_values(values, positions, std::string(what) + " " + name));
  }
  return kept;
}

void append(Values& into, const Values& more) { into.insert(into.end(), more.begin(), more.end()); }

}  // namespace

Evaluation select(const Evaluation& e, std::span<const size_t> positions) {
  Evaluation kept;
  kept.energy = select_values(e.energy, positions, "energy");
  kept.objective = select_values(e.objective, positions, "objective");
  kept.constraint_violations = select_map(e.constraint_violations, positions, "the violation of");
  kept.constraint_forall = e.constraint_forall;
  if (!e.constraint_values.empty()) {
    if (!positions.empty() && positions.back() >= e.constraint_values.size()) {
      fail(ErrorKind::Value, "cannot select sample " + std::to_string(positions.back()) +
                                 ": constraint_values holds " +
                                 std::to_string(e.constraint_values.size()) + " samples");
    }
    kept.constraint_values = gather(e.constraint_values, positions);
  }
  kept.penalty = select_map(e.penalty, positions, "the penalty");
  return kept;
}

void extend(Evaluation& into, const Evaluation& more) {
  append(into.energy, more.energy);
  append(into.objective, more.objective);
  for (const auto& [name, values] : more.constraint_violations) {
    append(into.constraint_violations[name], values);
  }
  for (const auto& [name, table] : more.constraint_forall) {
    auto [slot, added] = into.constraint_forall.try_emplace(name, table);
    if (!added && !(slot->second == table)) {
      fail(ErrorKind::Value,
           "the sample sets give different forall index tuples for the "
           "constraint " +
               name);
    }
  }
  into.constraint_values.insert(into.constraint_values.end(), more.constraint_values.begin(),
                                more.constraint_values.end());
  for (const auto& [name, values] : more.penalty) append(into.penalty[name], values);
}

Values total_violation(const ValueMap& violations) {
  Values total;
  bool first = true;
  for (const auto& [name, values] : violations) {
    if (first) {
      total = values;
      first = false;
      continue;
    }
    if (values.size() != total.size()) {
      fail(ErrorKind::Value, "operands could not be broadcast together with shapes (" +
                                 std::to_string(total.size()) + ",) (" +
                                 std::to_string(values.size()) + ",)");
    }
    for (size_t i = 0; i < total.size(); ++i) total[i] += values[i];
  }
  return total;
}

// ---- text

namespace {

void append_values(std::string& out, const Values& values) {
  out += '[';
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ", ";
    append_float(out, values[i], FloatStyle::Debug);
  }
  out += ']';
}

void append_rows(std::string& out, const IndexTable& table) {
  out += '[';
  for (uint64_t r = 0; r < table.rows; ++r) {
    if (r > 0) out += ", ";
    out += '[';
    for (uint64_t c = 0; c < table.columns; ++c) {
      if (c > 0) out += ", ";
      out += std::to_string(table.data[r * table.columns + c]);
    }
    out += ']';
  }
  out += ']';
}

// A name as debugging notation writes it: in double quotes, with quotes, backslashes and
// control characters escaped.
void append_quoted(std::string& out, const std::string& name) {
  out += '"';
  for (char c : name) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u{";
      if (c >= 0x10) out += kHex[c >> 4];
      out += kHex[c & 0xF];
      out += '}';
    } else {
      out += c;
    }
  }
  out += '"';
}

template <class Map, class F>
void append_map(std::string& out, const Map& map, F append_value) {
  out += '{';
  bool first = true;
  for (const auto& [name, value] : map) {
    if (!first) out += ", ";
    first = false;
    append_quoted(out, name);
    out += ": ";
    append_value(out, value);
  }
  out += '}';
}

}  // namespace

std::string to_text(const Evaluation& e) {
  std::string out = "Evaluation(energy=";
  append_values(out, e.energy);
  out += ", objective=";
  append_values(out, e.objective);
  out += ", constraint_violations=";
  append_map(out, e.constraint_violations, append_values);
  out += ", constraint_forall=";
  append_map(out, e.constraint_forall, append_rows);
  out += ", constraint_values=[";
  for (size_t i = 0; i < e.constraint_values.size(); ++i) {
    if (i > 0) out += ", ";
    append_map(out, e.constraint_values[i], append_values);
  }
  out += "], penalty=";
  append_map(out, e.penalty, append_values);
  return out + ")";
}

// ---- JSON

namespace {

void write_map(JsonWriter& json, const ValueMap& map) {
  json.begin_object();
  for (const auto& [name, values] : map) json.key(name).list(values);
  json.end_object();
}

void read_values(JsonReader& json, Values& values) { values = read_floats(json); }

ValueMap read_value_map(JsonReader& json) {
  ValueMap map;
  read_map(json, map, read_values);
  return map;
}

// A list of rows of equal length.
void read_rows(JsonReader& json, IndexTable& table) {
  json.begin_array();
  while (json.next_item()) {
    json.begin_array();
    uint64_t columns = 0;
    while (json.next_item()) {
      table.data.push_back(json.read_int());
      ++columns;
    }
    if (table.rows > 0 && columns != table.columns) {
      json.fail_at_last("the rows of a forall table must be of equal length, found " +
                        std::to_string(table.columns) + " and " + std::to_string(columns));
    }
    table.columns = columns;
    ++table.rows;
  }
}

}  // namespace

std::string to_json(const Evaluation& e) {
  JsonWriter json;
  json.begin_object().key("energy").list(e.energy).key("objective").list(e.objective);
  write_map(json.key("constraint_violations"), e.constraint_violations);
  json.key("constraint_forall").begin_object();
  for (const auto& [name, table] : e.constraint_forall) {
    json.key(name).begin_array();
    for (uint64_t r = 0; r < table.rows; ++r) {
      json.list(std::span<const int64_t>(table.data).subspan(r * table.columns, table.columns));
    }
    json.end_array();
  }
  json.end_object().key("constraint_values").begin_array();
  for (const ValueMap& map : e.constraint_values) write_map(json, map);
  json.end_array();
  write_map(json.key("penalty"), e.penalty);
  return json.end_object().take();
}

Evaluation evaluation_from_json(std::string_view text) {
  JsonReader json(text);
  Evaluation e;
  const char* const names[] = {
      "energy", "objective", "constraint_violations", "constraint_forall", "constraint_values",
      "penalty"};
  const uint64_t seen = json.read_fields(names, [&](size_t field) {
    switch (field) {
      case 0:
        read_values(json, e.energy);
        break;
      case 1:
        read_values(json, e.objective);
        break;
      case 2:
        read_map(json, e.constraint_violations, read_values);
        break;
      case 3:
        read_map(json, e.constraint_forall, read_rows);
        break;
      case 4:
        read_list(json, e.constraint_values, read_value_map);
        break;
      default:
        read_map(json, e.penalty, read_values);
    }
  });
  json.require(seen, names, 0b111111);
  return e;
}

}  // namespace vn
