#!/usr/bin/env bash
# Installs what is missing, builds, and starts MOK on the bundled sample mesh
# with its two skins. Command-line skins are appended behind the 16 channel
# slots (channels 16 and 17 here); see README.md, "The sample mesh".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/bin/mok -3d resources/samples/Sampler_d.3d resources/samples/Sampler_ring.pcx resources/samples/Sampler_core.tga
