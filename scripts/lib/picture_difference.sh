# Sourced by the scripts. picture_difference A B prints how far two pictures of the demo differ: both
# are averaged down to a grid of 16 x 12 cells (whatever their sizes), and the largest difference of
# one colour channel in one cell is printed on a scale of 0 (equal) to 1 (black against white). The
# averaging forgives a window a few pixels smaller; a missing column or a wrong texture changes some
# cell by much. within D LIMIT succeeds when D < LIMIT.
picture_difference() {
  local dir
  dir=$(mktemp -d)
  convert "$1" -filter Box -resize '16x12!' "$dir/a.png"
  convert "$2" -filter Box -resize '16x12!' "$dir/b.png"
  # compare prints "absolute (normalised)" on standard error and exits 1 when the pictures differ.
  compare -metric PAE "$dir/a.png" "$dir/b.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p' || true
  rm -rf "$dir"
}

within() { awk -v d="$1" -v l="$2" 'BEGIN { exit !(d != "" && d + 0 < l + 0) }'; }
