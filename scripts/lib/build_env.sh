# Sourced, from the top of the tree, by the scripts that build everything: the packages
# installed, and the compilers run through ccache with paths taken relative to the tree, so
# that a fresh clone shares the cache. Sets $jobs.
bash scripts/deps.sh
jobs="$(nproc)"
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
