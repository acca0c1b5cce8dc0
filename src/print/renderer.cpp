#include "print/renderer.hpp"

#include <charconv>
#include <cmath>

#include "model/depth_guard.hpp"

namespace vn {

RenderKey key_of(const Expression& e) {
  switch (e.kind()) {
    case NodeKind::DecisionVar:
      return {e.kind(), static_cast<uint8_t>(e.as<DecisionVar>().kind)};
    case NodeKind::UnaryOp:
      return {e.kind(), static_cast<uint8_t>(e.as<UnaryOp>().kind)};
    case NodeKind::BinaryOp:
      return {e.kind(), static_cast<uint8_t>(e.as<BinaryOp>().kind)};
    case NodeKind::CommutativeOp:
      return {e.kind(), static_cast<uint8_t>(e.as<CommutativeOp>().kind)};
    case NodeKind::ReductionOp:
      return {e.kind(), static_cast<uint8_t>(e.as<ReductionOp>().kind)};
    default:
      return {e.kind()};
  }
}

RenderKey key_of(const Condition& c) {
  if (c.is<ComparisonOp>()) return {c.kind(), static_cast<uint8_t>(c.as<ComparisonOp>().kind)};
  return {c.kind(), static_cast<uint8_t>(c.as<LogicalOp>().kind)};
}

namespace {

constexpr RenderKey kAdd{NodeKind::CommutativeOp, static_cast<uint8_t>(CommutativeKind::Add)};
constexpr RenderKey kMul{NodeKind::CommutativeOp, static_cast<uint8_t>(CommutativeKind::Mul)};
constexpr RenderKey kPow{NodeKind::BinaryOp, static_cast<uint8_t>(BinaryKind::Pow)};
constexpr RenderKey kMod{NodeKind::BinaryOp, static_cast<uint8_t>(BinaryKind::Mod)};

bool is_logarithm(RenderKey key) {
  return key.node == NodeKind::UnaryOp && (key.kind == static_cast<uint8_t>(UnaryKind::Ln) ||
                                           key.kind == static_cast<uint8_t>(UnaryKind::Log10) ||
                                           key.kind == static_cast<uint8_t>(UnaryKind::Log2));
}

bool is_negative_literal(const Expression& e) {
  const NumberLit* n = e.get_if<NumberLit>();
  return n && n->value.is_negative();
}

bool is_minus_one_literal(const Expression& e) {
  const NumberLit* n = e.get_if<NumberLit>();
  return n && n->value.is_minus_one();
}

}  // namespace

bool Renderer::parenthesised(RenderKey child) const {
  if (context_.empty()) return false;
  const RenderKey parent = context_.back();
  const bool latex_log = mode_ == RenderMode::Latex && is_logarithm(parent);
  const bool any_binary = parent.node == NodeKind::BinaryOp;
  const bool any_reduction = parent.node == NodeKind::ReductionOp;
  if (child == kAdd) return any_binary || any_reduction || parent == kMul || latex_log;
  if (child == kMul) return any_binary || latex_log;
  if (child == kMod) return any_binary || any_reduction || parent == kMul || latex_log;
  if (child == kPow) return parent == kPow || any_reduction || latex_log;
  if (child.node == NodeKind::ReductionOp) return parent == kPow || latex_log;
  return false;
}

void Renderer::write_child(const Expression& e) {
  if (mode_ == RenderMode::Latex) {
    if (const OptText& latex = latex_of(e)) {
      out_ += *latex;
      return;
    }
  }
  const RenderKey key = key_of(e);
  const bool brackets = parenthesised(key);
  if (brackets) out_ += mode_ == RenderMode::Latex ? "\\left(" : "(";
  push(key);
  write_direct(e);
  pop();
  if (brackets) out_ += mode_ == RenderMode::Latex ? "\\right)" : ")";
}

void Renderer::write_direct(const Expression& e) {
  DepthGuard guard;
  switch (e.kind()) {
    case NodeKind::NumberLit:
      return write(e.as<NumberLit>());
    case NodeKind::Placeholder:
      return write(e.as<Placeholder>());
    case NodeKind::Element:
      return write(e.as<Element>());
    case NodeKind::DecisionVar:
      return write(e.as<DecisionVar>());
    case NodeKind::Subscript:
      return write(e.as<Subscript>());
    case NodeKind::ArrayLength:
      return write(e.as<ArrayLength>());
    case NodeKind::UnaryOp:
      return write(e.as<UnaryOp>());
    case NodeKind::BinaryOp:
      return write(e.as<BinaryOp>());
    case NodeKind::CommutativeOp:
      return write(e.as<CommutativeOp>());
    case NodeKind::ReductionOp:
      return write_reduction(e.as<ReductionOp>());
    default:
      return;
  }
}

void Renderer::write_condition(const Condition& c) {
  DepthGuard guard;
  if (c.is<ComparisonOp>()) return write(c.as<ComparisonOp>());
  write(c.as<LogicalOp>());
}

void Renderer::write_text_suffix(const OptText& latex, const OptText& description) {
  if (latex) out_ += ", latex='" + *latex + "'";
  if (description) out_ += ", description='" + *description + "'";
}

void Renderer::write_children(std::span<const Expression> children, const char* separator) {
  for (size_t i = 0; i < children.size(); ++i) {
    if (i > 0) out_ += separator;
    write_child(children[i]);
  }
}

void Renderer::write(const NumberLit& n) {
  if (mode_ == RenderMode::Repr) {
    out_ += "NumberLit(value=";
    append_number_text(out_, n.value);
    out_ += ")";
  } else {
    append_number_text(out_, n.value);
  }
}

void Renderer::write(const Placeholder& p) {
  if (mode_ != RenderMode::Repr) {
    out_ += p.name;
    return;
  }
  out_ += "Placeholder(name='";
  out_ += p.name;
  out_ += "', ndim=";
  out_ += std::to_string(p.ndim);
  write_text_suffix(p.latex, p.description);
  out_ += ")";
}

void Renderer::write_set(const Element& element) {
  if (const Range* range = std::get_if<Range>(&element.belong_to)) {
    out_ += "(";
    write_child(range->start);
    out_ += ", ";
    write_child(range->end);
    out_ += ")";
  } else {
    write_direct(std::get<Expression>(element.belong_to));
  }
}

void Renderer::write(const Element& e) {
  if (mode_ != RenderMode::Repr) {
    out_ += e.name;
    return;
  }
  out_ += "Element(name='";
  out_ += e.name;
  out_ += "', belong_to=";
  write_set(e);
  write_text_suffix(e.latex, e.description);
  out_ += ")";
}

void Renderer::write(const DecisionVar& v) {
  if (mode_ != RenderMode::Repr) {
    out_ += v.name;
    return;
  }
  out_ += kind_text(v.kind);
  out_ += "Var(name='";
  out_ += v.name;
  out_ += "', shape=[";
  write_children(v.shape, ", ");
  out_ += "]";
  if (v.kind != DecisionVarKind::Binary) {
    for (auto [label, bound] : {std::pair{", lower_bound=", &v.lower_bound},
                                std::pair{", upper_bound=", &v.upper_bound}}) {
      out_ += label;
      // An array bound (a Placeholder or Subscript) is written as itself.
      if (ndim(*bound) > 0) {
        write_direct(*bound);
      } else {
        write_child(*bound);
      }
    }
  }
  write_text_suffix(v.latex, v.description);
  out_ += ")";
}

void Renderer::write(const Subscript& s) {
  write_direct(s.variable);
  out_ += "[";
  write_children(s.subscripts, ", ");
  out_ += "]";
}

void Renderer::write(const ArrayLength& a) {
  out_ += mode_ == RenderMode::Repr ? "ArrayLength(array=" : "len(";
  write_direct(a.array);
  out_ += (mode_ == RenderMode::Repr ? ", axis=" : ", ") + std::to_string(a.axis);
  if (mode_ == RenderMode::Repr) write_text_suffix(a.latex, a.description);
  out_ += ")";
}

void Renderer::write(const UnaryOp& u) {
  static constexpr const char* kOpenings[] = {"abs(", "ceil(", "floor(", "ln(", "log10(", "log2("};
  const bool bars = u.kind == UnaryKind::Abs && mode_ != RenderMode::Repr;
  out_ += bars ? "|" : kOpenings[static_cast<int>(u.kind)];
  write_child(u.operand);
  out_ += bars ? "|" : ")";
}

void Renderer::write(const BinaryOp& b) {
  write_child(b.left);
  out_ += b.kind == BinaryKind::Pow ? " ** " : " % ";
  write_child(b.right);
}

// The terms of `product` from position `first` on, with a leading -1 written as "- ".
void Renderer::write_product(const CommutativeOp& product, size_t first) {
  if (first < product.term_count() && is_minus_one_literal(product.term(first))) {
    out_ += "- ";
    ++first;
  }
  for (size_t i = first; i < product.term_count(); ++i) {
    if (i > first) out_ += " * ";
    write_child(product.term(i));
  }
}

void Renderer::write_sum(const CommutativeOp& sum) {
  const bool repr = mode_ == RenderMode::Repr;
  for (size_t i = 0; i < sum.term_count(); ++i) {
    const Expression& term = sum.term(i);
    const CommutativeOp* product = term.get_if<CommutativeOp>();
    if (product && product->kind != CommutativeKind::Mul) product = nullptr;
    const bool negative_number = !repr && is_negative_literal(term);
    const bool negative_product =
        product && product->term_count() > 0 &&
        (repr ? is_minus_one_literal(product->term(0)) : is_negative_literal(product->term(0)));
    if (!negative_number && !negative_product) {
      if (i > 0) out_ += " + ";
      write_child(term);
      continue;
    }
    out_ += i > 0 ? " - " : "- ";
    if (negative_number) {
      append_number_text(out_, term.as<NumberLit>().value, /*without_minus=*/true);
      continue;
    }
    const Number coefficient = product->term(0).as<NumberLit>().value;
    if (!coefficient.is_minus_one()) {
      append_number_text(out_, coefficient, /*without_minus=*/true);
      out_ += " * ";
    }
    push(kMul);
    write_product(*product, 1);
    pop();
  }
}

void Renderer::write(const CommutativeOp& c) {
  switch (c.kind) {
    case CommutativeKind::Add:
      return write_sum(c);
    case CommutativeKind::Mul:
      return write_product(c, 0);
    case CommutativeKind::Min:
    case CommutativeKind::Max:
      out_ += c.kind == CommutativeKind::Min ? "min(" : "max(";
      for (size_t i = 0; i < c.term_count(); ++i) {
        if (i > 0) out_ += ", ";
        write_child(c.term(i));
      }
      out_ += ")";
      return;
  }
}

void Renderer::write_reduction(const ReductionOp& r) {
  out_ += r.kind == ReductionKind::Sum ? "sum(" : "prod(";
  const Element& index = r.index.as<Element>();
  if (mode_ == RenderMode::Repr) {
    write_direct(r.index);
    out_ += ", ";
  } else {
    out_ += index.name + " in ";
    if (const Range* range = std::get_if<Range>(&index.belong_to)) {
      out_ += range_text(*range, RenderMode::Str);
    } else {
      const Expression& set = std::get<Expression>(index.belong_to);
      if (const Subscript* s = set.get_if<Subscript>()) {
        out_ += s->variable.is<Subscript>() ? subscript_text(s->variable)
                                            : render_root(s->variable, RenderMode::Str);
        out_ += "[";
        for (size_t i = 0; i < s->subscripts.size(); ++i) {
          if (i > 0) out_ += ", ";
          out_ += render_standalone(s->subscripts[i], RenderMode::Str);
        }
        out_ += "]";
      } else {
        out_ += render_root(set, RenderMode::Str);
      }
    }
  }
  if (r.condition) {
    out_ += mode_ == RenderMode::Repr ? "" : " s.t. ";
    write_condition(r.condition);
    out_ += ", ";
  } else if (mode_ != RenderMode::Repr) {
    out_ += ", ";
  }
  write_child(r.operand);
  out_ += ")";
}

void Renderer::write(const ComparisonOp& c) {
  static constexpr const char* kOperators[] = {" == ", " != ", " < ", " <= ", " > ", " >= "};
  write_child(c.left);
  out_ += kOperators[static_cast<int>(c.kind)];
  write_child(c.right);
}

void Renderer::write(const LogicalOp& l) {
  static constexpr const char* kWords[] = {" and ", " or ", " xor "};
  static constexpr const char* kSymbols[] = {" & ", " | ", " ^ "};
  const char* separator = (mode_ == RenderMode::Repr ? kSymbols : kWords)[static_cast<int>(l.kind)];
  for (size_t i = 0; i < l.terms.size(); ++i) {
    if (i > 0) out_ += separator;
    write_condition(l.terms[i]);
  }
}

std::string render_root(const Expression& root, RenderMode mode) {
  Renderer renderer(mode);
  renderer.push(key_of(root));
  renderer.write_direct(root);
  return std::move(renderer.output());
}

std::string render_root(const Condition& root, RenderMode mode) {
  Renderer renderer(mode);
  renderer.push(key_of(root));
  renderer.write_condition(root);
  return std::move(renderer.output());
}

std::string render_standalone(const Expression& e, RenderMode mode) {
  Renderer renderer(mode);
  renderer.push(key_of(e));
  renderer.write_child(e);
  return std::move(renderer.output());
}

std::string range_text(const Range& range, RenderMode mode) {
  const std::string start = render_standalone(range.start, mode);
  const std::string end = render_standalone(range.end, mode);
  if (mode == RenderMode::Repr) return "(" + start + ", " + end + ")";
  return "[" + start + ".." + end + ")";
}

std::string number_text(Number n) {
  std::string text;
  append_number_text(text, n);
  return text;
}

// Written straight into the output: long sums hold one literal per term, and a temporary
// string per literal would cost as much as the digits themselves.
void append_number_text(std::string& out, Number n, bool without_minus) {
  // Fixed notation with no precision gives the shortest digits that read back to a double;
  // the longest such text (the smallest subnormal) has 326 characters.
  char buffer[400];
  const char* text = buffer;
  const char* end;
  const double v = n.is_integer() ? 0.0 : n.real();
  if (n.is_integer()) {
    end = std::to_chars(buffer, buffer + sizeof buffer, n.integer()).ptr;
  } else if (std::isnan(v)) {
    text = "NaN";
    end = text + 3;
  } else if (std::isinf(v)) {
    text = v < 0 ? "-inf" : "inf";
    end = text + (v < 0 ? 4 : 3);
  } else {
    end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr;
  }
  if (without_minus && text != end && *text == '-') ++text;
  out.append(text, end);
}

std::string subscript_text(const Expression& subscript) {
  return render_root(subscript, RenderMode::Str);
}

const char* kind_text(DecisionVarKind kind) {
  static constexpr const char* kTexts[] = {"Binary", "Integer", "Continuous", "SemiInteger",
                                           "SemiContinuous"};
  return kTexts[static_cast<int>(kind)];
}

}  // namespace vn
