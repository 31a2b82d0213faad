# Sourced first by the end-to-end tests: they build their medium with qs-medium, which the
# native preset builds; without it the test is skipped (ctest's code 77), not failed.
#   source needs_medium_tool.sh QS_MEDIUM
if [ ! -x "$1" ]; then
  echo "qs-medium is not built (the native preset builds it); skipping"
  exit 77
fi
