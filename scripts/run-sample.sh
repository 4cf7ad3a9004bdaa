#!/usr/bin/env bash
# Installs what is missing, builds, and starts MOK on the bundled sample mesh.
# Its package script (resources/samples/Sampler/Classes/Sampler.uc) names its
# two skins, which open into channels 0 and 1; see README.md, "The sample mesh".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/bin/mok -3d resources/samples/Sampler/Models/Sampler_d.3d
