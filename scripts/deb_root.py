"""A fresh Debian machine in a folder, made of the packages installed on this one.

A root holds the files of the base system (the Essential and required packages), of the packages
asked for and of everything their Depends and Pre-Depends pull in, resolved against the packages
installed here, as apt would resolve them on a fresh machine; nothing else. Packages of our own
(.deb files) are unpacked into it. Commands then run in it with chroot, as an unprivileged user,
with /proc and /dev mounted in a private mount namespace.

Files of installed packages are hard-linked where the file system allows it (copied otherwise);
commands in the root run as nobody, who cannot write them.
"""

import os
import re
import shutil
import subprocess
from pathlib import Path

NOBODY = "65534:65534"


class Installed:
    """The packages installed on this machine: their Depends, what they provide, their files."""

    def __init__(self):
        listing = subprocess.run(
            ["dpkg-query", "-W", "-f",
             "${Package}\t${db:Status-Abbrev}\t${Depends}\t${Pre-Depends}\t${Provides}\t${Essential}\t${Priority}\n"],
            capture_output=True, text=True, check=True).stdout
        self.depends, self.providers, self.base, self._files = {}, {}, [], {}
        for line in listing.splitlines():
            name, status, depends, pre_depends, provides, essential, priority = line.split("\t")
            if not status.startswith("ii"):
                continue
            self.depends[name] = parse_relations(", ".join(d for d in (depends, pre_depends) if d))
            for group in parse_relations(provides):
                for provided in group:
                    self.providers.setdefault(provided, []).append(name)
            if essential == "yes" or priority == "required":
                self.base.append(name)

    def resolve(self, group, extra):
        """The package that satisfies one group of alternatives: the first alternative installed here
        (or among `extra`), else the first installed package that provides one."""
        for name in group:
            if name in extra or name in self.depends:
                return name
        for name in group:
            if self.providers.get(name):
                return self.providers[name][0]
        return None

    def files(self, package):
        if package not in self._files:
            result = subprocess.run(["dpkg-query", "-L", package], capture_output=True, text=True, check=True)
            self._files[package] = [line for line in result.stdout.splitlines() if line.startswith("/")]
        return self._files[package]


def parse_relations(text):
    """'a (>= 1) | b:any, c' -> [['a', 'b'], ['c']]"""
    groups = []
    for group in filter(None, (g.strip() for g in text.split(","))):
        names = [re.sub(r"\s*\(.*?\)|\s*\[.*?\]|:\w+$", "", alternative.strip()) for alternative in group.split("|")]
        groups.append([n.split(":")[0] for n in names if n])
    return groups


def closure(installed, wanted, ours):
    """Every package that `wanted` needs through Depends and Pre-Depends, themselves included.
    `ours` maps our package names to their Depends groups. Returns (packages, unresolved groups)."""
    needed, unresolved, queue = set(), [], list(wanted)
    while queue:
        name = queue.pop()
        if name in needed:
            continue
        needed.add(name)
        for group in ours.get(name, installed.depends.get(name, [])):
            chosen = installed.resolve(group, ours)
            if chosen is None:
                unresolved.append(f"{name}: {' | '.join(group)}")
            else:
                queue.append(chosen)
    return needed, unresolved


def _place(source, target):
    target.parent.mkdir(parents=True, exist_ok=True)
    if target.is_symlink() or target.exists():
        return
    if source.is_symlink():
        target.symlink_to(os.readlink(source))
    elif source.is_file():
        try:
            os.link(source, target)
        except OSError:
            shutil.copy2(source, target)


def build(root, installed, packages, debs):
    """Makes `root` hold the files of the installed `packages` and of the `debs` (Paths)."""
    if root.exists():
        shutil.rmtree(root)
    root.mkdir(parents=True)
    for merged in ("bin", "sbin", "lib", "lib64"):  # the merged /usr of Debian 12
        (root / "usr" / merged).mkdir(parents=True, exist_ok=True)
        (root / merged).symlink_to(f"usr/{merged}")
    for package in sorted(packages):
        for path in installed.files(package):
            source = Path(path)
            if source.is_symlink() or source.is_file():
                _place(source, root / path.lstrip("/"))
    # What update-alternatives would have linked: /etc/alternatives/NAME as on this machine.
    for link in list(root.rglob("*")):
        if link.is_symlink() and os.readlink(link).startswith("/etc/alternatives/"):
            name = os.readlink(link)
            _place(Path(name), root / name.lstrip("/"))
    for deb in debs:
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    etc = root / "etc"
    etc.mkdir(exist_ok=True)
    (etc / "passwd").write_text("root:x:0:0:root:/root:/bin/bash\nnobody:x:65534:65534:nobody:/nonexistent:/usr/sbin/nologin\n")
    (etc / "group").write_text("root:x:0:\nnogroup:x:65534:\n")
    for folder in ("proc", "dev", "tmp"):
        (root / folder).mkdir(exist_ok=True)
    (root / "tmp").chmod(0o1777)
    # The libc trigger of a real installation: the loader's cache.
    subprocess.run(["ldconfig", "-X", "-r", root], check=True)


def run(root, script, cwd="/tmp", env=None):
    """Runs a bash script in the root as nobody; returns the CompletedProcess."""
    environment = {"PATH": "/usr/local/bin:/usr/bin:/bin", "HOME": "/tmp", "LANG": "C.UTF-8",
                   "QT_QPA_PLATFORM": "offscreen"}
    environment.update(env or {})
    settings = " ".join(f"{k}={shlex_quote(v)}" for k, v in environment.items())
    inner = (f"mount -t proc proc {root}/proc && mount --rbind /dev {root}/dev && "
             f"exec chroot --userspec={NOBODY} {root} /usr/bin/env -i {settings} "
             f"/bin/bash -euo pipefail -c {shlex_quote(f'cd {cwd} && ' + script)}")
    return subprocess.run(["unshare", "--mount", "--propagation", "private", "/bin/sh", "-c", inner],
                          capture_output=True, text=True)


def shlex_quote(text):
    return "'" + str(text).replace("'", "'\\''") + "'"


def usable():
    """Why roots cannot be used here, or None when they can."""
    if os.geteuid() != 0:
        return "chroot and mounts need root"
    for tool in ("chroot", "unshare", "ldconfig", "dpkg-query", "dpkg-deb"):
        if not shutil.which(tool):
            return f"{tool} is missing"
    return None
