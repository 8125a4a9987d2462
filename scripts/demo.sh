#!/usr/bin/env bash
# The main job on an embedded input: the command-line helpers take a tool's
# command line apart the way every tool of the toolkit does.
set -euo pipefail
bin=${1:-build/bin}
"$bin/zet-cmdline"
