"""The Linux layer's own test program, on a private server."""

from .checks import check
from .watch import exit_seen, wait_exit

LAYER_TIME = 30.0


def case_layer(ctx):
    with ctx.desktop() as desktop:
        program = desktop.start(ctx.runner, ctx.program, name="x11_layer_test")
        code, took = wait_exit(program, LAYER_TIME)
        with open(program.stdout_path, errors="replace") as out:
            report = out.read()
        check(code == 0, "the layer's tests", "all passing (exit code 0)",
              exit_seen(code, took) + "\n" + report[-3000:])


CASES = {
    "layer": case_layer,
}
