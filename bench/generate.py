#!/usr/bin/python3
"""Writes a seeded, repeatable fixture tree for the benchmark, and beside it
answer.json: every set of identical files of at least MIN_SIZE bytes.

    generate.py KIND DEST [--seed N] [--scale F]

KIND is mixed, bigdup, deep or samesize. Contents are slices of one random
pool, written in large chunks, so gigabytes take seconds."""
import argparse
import json
import os
import random

MIN_SIZE = 1000000
POOL_SIZE = 16 << 20


class Tree:
    def __init__(self, dest, seed):
        self.dest = dest
        self.rng = random.Random(seed)
        self.pool = self.rng.randbytes(POOL_SIZE)
        self.files = {}  # relative path -> (size, content key)
        self.next_key = 0

    def new_key(self):
        self.next_key += 1
        return self.next_key

    def content(self, size, key, tweak=None):
        """size bytes for key; equal keys and sizes give equal bytes. tweak
        flips one byte ("first" block or "last" byte) of the same content."""
        offset = (key * 7919 * 4099) % POOL_SIZE
        out = bytearray()
        while len(out) < size:
            out += self.pool[offset:offset + size - len(out)]
            offset = 0
        if tweak == "first" and size:
            out[min(size - 1, 1000)] ^= 0xFF
        elif tweak == "last" and size:
            out[-1] ^= 0xFF
        return out

    def write(self, rel, size, key, tweak=None):
        path = os.path.join(self.dest, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(self.content(size, key, tweak))
        self.files[rel] = (size, key, tweak)

    def answer(self):
        sets = {}
        for rel, (size, key, tweak) in self.files.items():
            if size >= MIN_SIZE:
                sets.setdefault((size, key, tweak), []).append(rel)
        return sorted(sorted(s) for s in sets.values() if len(s) > 1)


def directories(tree, count, max_depth):
    dirs = [""]
    while len(dirs) < count:
        parent = tree.rng.choice(dirs)
        if parent.count("/") + 1 >= max_depth:
            continue
        dirs.append(os.path.join(parent, "d%05d" % len(dirs)))
    return dirs


def copies(tree, dirs, count, low, high, share):
    """count large files; about share of them copies in sets of 2 to 5."""
    written = 0
    while written < count:
        size = tree.rng.randint(low, high)
        key = tree.new_key()
        # A set of 2 to 5 holds 3.5 files on average.
        n = tree.rng.randint(2, 5) if tree.rng.random() < share / (3.5 - 2.5 * share) else 1
        for _ in range(n):
            tree.write(os.path.join(tree.rng.choice(dirs), "big%05d.bin" % len(tree.files)), size, key)
            written += 1


def mixed(tree, scale):
    dirs = directories(tree, int(3000 * scale), 8)
    for i in range(int(29000 * scale)):
        tree.write(os.path.join(tree.rng.choice(dirs), "f%06d.dat" % i), tree.rng.randint(0, 64 << 10),
                   tree.new_key())
    copies(tree, dirs, int(540 * scale), 1 << 20, 8 << 20, 0.4)
    # Same sizes, different bytes: early in the file, and only in its last byte.
    for tweak in ("first", "last"):
        for i in range(int(30 * scale)):
            size = tree.rng.randint(1 << 20, 8 << 20)
            key = tree.new_key()
            tree.write(os.path.join(tree.rng.choice(dirs), "tw%s%03da.bin" % (tweak, i)), size, key)
            tree.write(os.path.join(tree.rng.choice(dirs), "tw%s%03db.bin" % (tweak, i)), size, key, tweak)


def bigdup(tree, scale):
    dirs = directories(tree, 10, 3)
    count = max(4, int(40 * scale))
    written = 0
    while written < count:
        size = tree.rng.randint(32 << 20, 128 << 20)
        key = tree.new_key()
        n = tree.rng.choice((1, 1, 2, 3))
        for _ in range(n):
            tree.write(os.path.join(tree.rng.choice(dirs), "v%03d.img" % written), size, key)
            written += 1


def deep(tree, scale):
    dirs = directories(tree, int(20000 * scale), 12)
    for i in range(int(200000 * scale)):
        tree.write(os.path.join(tree.rng.choice(dirs), "t%06d" % i), tree.rng.randint(0, 512), tree.new_key())
    for i in range(25):
        size = tree.rng.randint(1 << 20, 4 << 20)
        key = tree.new_key()
        for copy in "ab":
            tree.write(os.path.join(tree.rng.choice(dirs), "large%02d%s.bin" % (i, copy)), size, key)


def samesize(tree, scale):
    dirs = directories(tree, 20, 3)
    for i in range(int(300 * scale)):
        tree.write(os.path.join(tree.rng.choice(dirs), "s%04d.bin" % i), 2000000, tree.new_key())
    for i in range(10):
        key = tree.new_key()
        for copy in "ab":
            tree.write(os.path.join(tree.rng.choice(dirs), "pair%02d%s.bin" % (i, copy)), 2000000, key)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kind", choices=["mixed", "bigdup", "deep", "samesize"])
    parser.add_argument("dest")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--scale", type=float, default=1.0)
    args = parser.parse_args()
    os.makedirs(args.dest, exist_ok=False)
    tree = Tree(os.path.join(args.dest, "tree"), args.seed)
    os.makedirs(tree.dest)
    globals()[args.kind](tree, args.scale)
    with open(os.path.join(args.dest, "answer.json"), "w") as f:
        json.dump({"kind": args.kind, "seed": args.seed, "files": len(tree.files), "sets": tree.answer()}, f)


if __name__ == "__main__":
    main()
