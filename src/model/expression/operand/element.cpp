#include "model/expression/operand/element.hpp"

namespace vn {

Expression make_element(std::string name, BelongTo belong_to, OptText latex, OptText description) {
  const Expression* array = std::get_if<Expression>(&belong_to);
  const uint64_t dimensions = array ? ndim(*array) - 1 : 0;
  return make_expression<Element>(std::move(belong_to), std::move(name), dimensions,
                                  std::move(latex), std::move(description));
}

}  // namespace vn
