import inspect
import subprocess
import sys

import pytest

import varnova as vn

# The registered names so far, in their final order: every later name is inserted among them.
REGISTERED = [
    "__version__",
    "ModelingError", "ProtobufSerializationError", "ProtobufDeserializationError",
    "abs", "ceil", "floor", "log2", "log10", "ln", "min", "max", "sum", "prod", "concatenate",
    "DataType", "NumberLit", "Placeholder", "Range", "Element", "Subscript", "ArrayLength",
    "DummyIndexedVar", "BinaryVar", "IntegerVar", "ContinuousVar", "SemiIntegerVar",
    "SemiContinuousVar", "AbsOp", "CeilOp", "FloorOp", "Log2Op", "Log10Op", "LnOp",
    "AddOp", "MulOp", "ModOp", "MinOp", "MaxOp", "PowOp", "SumOp", "ProdOp",
    "AndOp", "OrOp", "XorOp", "EqualOp", "NotEqualOp", "LessThanOp", "LessThanEqualOp",
    "GreaterThanOp", "GreaterThanEqualOp",
    "Evaluation", "Record", "SolvingTime", "SystemTime", "MeasuringTime", "SampleSet",
]
FUNCTIONS = {"abs", "ceil", "floor", "log2", "log10", "ln", "min", "max", "sum", "prod",
             "concatenate"}


def test_version():
    assert vn.__version__ == "1.0.0-rc4"


def test_all_lists_the_registered_names_in_order():
    assert vn.__all__ == REGISTERED
    for name in vn.__all__:
        assert hasattr(vn, name)


@pytest.mark.parametrize("name", ["ModelingError", "ProtobufSerializationError",
                                  "ProtobufDeserializationError"])
def test_exception_types(name):
    error = getattr(vn, name)
    assert error.__bases__ == (Exception,)
    assert error.__name__ == name
    assert error.__module__ == "varnova"
    assert error.__doc__ is None


def test_exception_types_are_unrelated():
    assert not issubclass(vn.ProtobufSerializationError, vn.ModelingError)
    assert not issubclass(vn.ModelingError, vn.ProtobufDeserializationError)


@pytest.mark.parametrize("name", [n for n in REGISTERED[4:] if n not in FUNCTIONS])
def test_classes_have_bare_names_and_derive_from_object(name):
    cls = getattr(vn, name)
    assert cls.__name__ == cls.__qualname__ == name
    assert cls.__bases__ == (object,)
    assert cls.__module__ == "varnova"


def test_classes_cannot_be_subclassed():
    with pytest.raises(TypeError):
        type("Sub", (vn.Placeholder,), {})


@pytest.mark.parametrize("cls", [vn.DataType, vn.Range, vn.Subscript, vn.DummyIndexedVar,
                                 vn.AbsOp, vn.AddOp, vn.MulOp, vn.PowOp, vn.ModOp, vn.MaxOp,
                                 vn.SumOp, vn.AndOp, vn.EqualOp, vn.GreaterThanEqualOp])
def test_classes_without_constructor(cls):
    with pytest.raises(TypeError, match="^No constructor defined$"):
        cls()
    assert "--" not in (cls.__doc__ or "")


def test_second_initialization_in_one_process_raises_import_error():
    code = (
        "import sys, varnova\n"
        "del sys.modules['varnova']\n"
        "try:\n"
        "    import varnova\n"
        "except ImportError as error:\n"
        "    print('ImportError:', error)\n"
    )
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, check=True)
    assert out.stdout.startswith("ImportError: the varnova module may only be initialized once")


@pytest.mark.parametrize("obj, signature", [
    (vn.NumberLit, "(value)"),
    (vn.Placeholder, "(name, *, ndim=0, latex=None, description=None)"),
    (vn.ArrayLength, "(array, axis, *, latex=None, description=None)"),
    (vn.Element, "(name, belong_to, *, latex=None, description=None)"),
    (vn.BinaryVar, "(name, *, shape=None, latex=None, description=None)"),
    (vn.SemiContinuousVar,
     "(name, *, shape=None, lower_bound, upper_bound, latex=None, description=None)"),
    (vn.Placeholder.len_at, "(self, /, axis, *, latex=None, description=None)"),
    (vn.AddOp.set_latex, "(self, /, latex=None)"),
    (vn.XorOp.set_latex, "(self, /, latex=None)"),
    (vn.abs, "(operand)"),
    (vn.min, "(*operands)"),
    (vn.sum, "(index, operand)"),
    (vn.DummyIndexedVar.prod, "(self, /)"),
    (vn.Placeholder.__add__, "(self, /, other)"),
    (vn.SumOp.__rtruediv__, "(self, /, other)"),
    (vn.BinaryVar.__pow__, "(self, /, exponent, modulo=None)"),
    (vn.NumberLit.__rpow__, "(self, /, base, modulo=None)"),
])
def test_text_signatures(obj, signature):
    assert str(inspect.signature(obj)) == signature


@pytest.mark.parametrize("name", sorted(FUNCTIONS))
def test_functions_are_builtins_of_the_module(name):
    function = getattr(vn, name)
    assert function.__module__ == "varnova" and function.__name__ == name
