"""What the user does to the window: drag the camera, resize, close."""

from .checks import wait_for
from .picture import GRID, bounds_near, grid_difference, scaled
from .program import close_and_expect_zero, move_in_steps, start_drawn
from .scene_checks import check_counter_corner, check_scene

DRAG = (40, 20)


def wait_grid(desktop, window, reference, label, moved):
    """Waits until the grid differs from `reference` (moved) or matches it."""
    grid = reference.count({GRID})

    def probe():
        picture = desktop.shoot(window, label)
        differing = grid_difference(reference, picture)
        done = differing > grid // 4 if moved else differing <= grid // 100
        return done, f"{differing} pixels differ between grid and background ({grid} grid pixels)"

    expected = "the grid moved (over a quarter of its pixels)" if moved else "the grid as before"
    wait_for(f"grid in {label}", expected, probe, timeout=5.0)


def case_drag(ctx):
    with ctx.desktop() as desktop:
        _, window, _ = start_drawn(ctx, desktop)
        client = desktop.client
        x, y, width, height = client.geometry(window)
        start = (x + width // 3, y + height // 2)
        end = (start[0] + DRAG[0], start[1] + DRAG[1])
        client.move_pointer(*start)
        reference = desktop.shoot(window, "before drag")
        client.press_button()
        move_in_steps(client, start, end)
        wait_grid(desktop, window, reference, "dragged", moved=True)
        move_in_steps(client, end, start)
        wait_grid(desktop, window, reference, "dragged back", moved=False)
        client.release_button()


def case_resize(ctx):
    new_size = (384, 320)
    with ctx.desktop(window_manager=True) as desktop:
        program, window, before = start_drawn(ctx, desktop)
        expected = scaled(before.bounds({GRID}), new_size[0] / before.width,
                          new_size[1] / before.height)
        desktop.client.resize(window, *new_size)
        latest = {}

        def filled():
            picture = latest["picture"] = desktop.shoot(window, "resized")
            bounds = picture.bounds({GRID})
            size = (picture.width, picture.height)
            done = size == new_size and bounds_near(bounds, expected)
            return done, f"{size[0]}x{size[1]}, grid within {bounds}"

        wait_for("picture after resizing", f"{new_size[0]}x{new_size[1]} with the grid "
                 f"stretched to {expected}", filled, timeout=5.0)
        check_scene(latest["picture"], "resized picture")
        check_counter_corner(latest["picture"], "resized picture")


def case_close(ctx):
    with ctx.desktop(window_manager=True) as desktop:
        program, window, _ = start_drawn(ctx, desktop)
        close_and_expect_zero(desktop, program, window, "WM_DELETE_WINDOW")


CASES = {
    "drag": case_drag,
    "resize": case_resize,
    "close": case_close,
}
