"""Every end-to-end case, by the name CTest passes. Each case module
declares its CASES; here they are merged by what the cases run against:
the program's window (natively or under Wine), the page in a browser, or
the packages. One name in two modules of the same kind is an error; the
same name in two kinds is one check made of each (e2e.native.picture,
e2e.web.picture)."""

from . import (case_endurance, case_ending, case_failure, case_input, case_layer, case_native,
               case_picture, case_web, case_web_app, case_web_context, case_web_hands,
               case_web_pointers, case_web_policy, package_linux, package_windows, reproducible)

MODULES = {
    "program": [case_picture, case_input, case_failure, case_native, case_endurance, case_ending,
                case_layer],
    "web": [case_web, case_web_pointers, case_web_context, case_web_app, case_web_hands,
            case_web_policy],
    "package": [package_linux, package_windows, reproducible],
}


def merged_cases(modules):
    """Every module's CASES in one dict, refusing a name used twice."""
    cases = {}
    for module in modules:
        for name, case in module.CASES.items():
            if name in cases:
                raise ValueError(f"case {name!r} of {module.__name__} is named twice")
            cases[name] = case
    return cases


CASES = {kind: merged_cases(modules) for kind, modules in MODULES.items()}
