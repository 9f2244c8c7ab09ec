#!/usr/bin/python3
"""A stand-in for apt-get, dpkg and dpkg-query (by the name it is called
under), for testing scripts/setup's decisions with no network. Its world is
a folder, $APT_STANDIN: `world.json` says how the registry fails, `installed`
lists the packages installed (NAME:ARCH), `calls` logs each call.

world.json:
  update_failures  how many `apt-get update` calls fail (-1: every one)
  unknown          packages no index knows
  skewed           packages refused as a set unless installed with -t RELEASE
  refused          packages refused as a set always
  interrupted      a package is half-configured until `dpkg --configure -a`
"""

import json
import os
import sys

NATIVE = "amd64"
WORLD = os.environ["APT_STANDIN"]
BROKEN_INDEX = ("E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/"
                "main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). "
                "Mirror sync in progress? [IP: 192.0.2.1 80]")
HELD = "E: Unable to correct problems, you have held broken packages."


def path(name):
    return os.path.join(WORLD, name)


def lines(name):
    try:
        with open(path(name), encoding="utf-8") as text:
            return text.read().splitlines()
    except FileNotFoundError:
        return []


def add_line(name, line):
    with open(path(name), "a", encoding="utf-8") as text:
        text.write(line + "\n")


def full_name(package):
    return package if ":" in package else f"{package}:{NATIVE}"


def apt_get(args, world):
    if args[0] == "update":
        failed = len([call for call in lines("calls") if call.startswith("apt-get update")])
        failures = world.get("update_failures", 0)
        if failures == -1 or failed <= failures:
            print(BROKEN_INDEX, file=sys.stderr)
            print("E: Some index files failed to download.", file=sys.stderr)
            return 100
        return 0
    assert args[0] == "install", args
    release = args[args.index("-t") + 1] if "-t" in args else None
    packages = [arg for arg in args[1:] if not arg.startswith("-") and arg != release]
    for package in packages:
        if package in world.get("unknown", []):
            print(f"E: Unable to locate package {package}", file=sys.stderr)
            return 100
    refused = [p for p in packages if p in world.get("refused", [])
               or (p in world.get("skewed", []) and release is None)]
    if refused:
        print(f" {refused[0]} : Depends: libwine:i386 (= 8.0) but it is not going to be installed")
        print(HELD, file=sys.stderr)
        return 100
    for package in packages:
        add_line("installed", full_name(package))
    return 0


def dpkg(args, world):
    if args == ["--audit"]:
        # An install cut short leaves a package half-configured until this.
        if world.get("interrupted") and not any("--configure" in c for c in lines("calls")):
            print("The following packages are only half configured: libopengl0")
    elif args == ["--print-architecture"]:
        print(NATIVE)
    elif args == ["--print-foreign-architectures"]:
        print("\n".join(lines("architectures")))
    elif args[0] == "--add-architecture":
        add_line("architectures", args[1])
    return 0


def dpkg_query(args):
    name = args[-1]
    found = [p for p in lines("installed") if p.split(":")[0] == name]
    if not found:
        print(f"dpkg-query: no packages found matching {name}", file=sys.stderr)
        return 1
    for package in found:
        print(f"installed {package.split(':')[1]}")
    return 0


def main():
    command = os.path.basename(sys.argv[0])
    args = sys.argv[1:]
    add_line("calls", " ".join([command] + args))
    with open(path("world.json"), encoding="utf-8") as text:
        world = json.load(text)
    if command == "apt-get":
        options = [arg for arg, after in zip(args, [""] + args) if arg.startswith("-") or after == "-o"]
        return apt_get([arg for arg in args if arg not in options or arg == "-t"], world)
    if command == "dpkg":
        return dpkg(args, world)
    return dpkg_query(args)


if __name__ == "__main__":
    sys.exit(main())
