#pragma once

#include "lib/py/type.hpp"
#include "model/expression/expression.hpp"

namespace vn::bind {

// Which arithmetic operators a class implements: decision variables have no / and %.
enum class Arithmetic { Full, WithoutDivision };

// The table shared by every expression class: its value, str and repr, and the arithmetic
// operators. Each class adds its getters and methods.
py::ClassDef expression_class(const char* name, Arithmetic arithmetic = Arithmetic::Full);

// `set_latex(latex=None)`, on the classes whose node carries LaTeX (expressions or conditions).
template <class T = Expression>
PyMethodDef set_latex_method();

}  // namespace vn::bind
