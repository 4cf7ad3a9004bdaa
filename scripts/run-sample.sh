#!/usr/bin/env bash
# Installs what is missing, builds, and starts MOK on the bundled sample mesh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/bin/mok -3d resources/samples/Sampler_d.3d
