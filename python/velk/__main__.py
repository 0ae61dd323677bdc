"""python3 -m velk plot KIND RESULT.json -o FILE.png|svg|pdf

Draws a plot of the JSON that ``velk budget --format json`` or ``velk reduce
--format json`` wrote (``-`` reads standard input).  KIND: budget, reduce,
speed, halfwidth, radius, isotherm.  Exit status 0 done, 2 a usage or input
error (message on standard error).
"""

import argparse
import json
import sys


def main(argv=None):
    parser = argparse.ArgumentParser(prog="python3 -m velk",
                                     description="Plots of velk's budgets and reductions.")
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("plot", help="draw a plot of the tool's JSON output")
    p.add_argument("kind", choices=["budget", "reduce", "speed", "halfwidth", "radius", "isotherm"])
    p.add_argument("result", help="the tool's JSON output (velk budget|reduce --format json), - for stdin")
    p.add_argument("-o", "--output", required=True, help="image file: .png, .svg or .pdf")
    p.add_argument("--dpi", type=int, default=100, help="resolution of a PNG (default 100)")
    args = parser.parse_args(argv)

    try:
        from . import plot
    except ImportError as e:
        print(f"velk plot: needs matplotlib (Debian: python3-matplotlib): {e}", file=sys.stderr)
        return 2
    try:
        doc = json.load(sys.stdin) if args.result == "-" else args.result
        if isinstance(doc, dict):
            from ._analysis import load_result
            doc = load_result(doc)
        plot.save(args.kind, doc, args.output, dpi=args.dpi)
    except (OSError, ValueError, KeyError, TypeError) as e:
        print(f"velk plot: {args.result}: {e}", file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
