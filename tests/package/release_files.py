"""Reads scripts/release.files: {"windows": [(archive path, source)],
"linux": [(archive path, None)], "deb": [(path, None)]}."""


def read_release_files(path, version):
    rows = {"windows": [], "linux": [], "deb": []}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.replace("{version}", version).split()
            kind = fields[0]
            if kind not in rows or len(fields) != (3 if kind == "windows" else 2):
                raise SystemExit(f"{path}:{number}: unreadable row: {line}")
            source = None
            if kind == "windows":
                source = fields[2]
                if source.startswith("{build:"):
                    preset, rest = source[len("{build:"):].split("}", 1)
                    source = f"build/{preset}{rest}"
            rows[kind].append((fields[1], source))
    return rows
