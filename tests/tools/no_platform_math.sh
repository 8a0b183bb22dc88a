# The game computes its own sines, cosines and arctangents, so that every C library
# gives the same bits: none of its libraries or programs may import a transcendental
# function from the platform's (sqrt, fmod and the roundings are exact everywhere and
# stay). no_platform_math.sh NM FILE...: NM is nm or llvm-nm, a FILE an archive, an
# object or a program; fails naming each file and member that imports one.
set -euo pipefail
nm=$1
shift
[ $# -gt 0 ] || { echo "FAIL: no files to check" >&2; exit 1; }

# Each name also with its float (f) and long double (l) forms; glibc's versioned names
# (sin@GLIBC_2.2.5) and its old finite-math aliases (__sin_finite) count too.
names='sin|cos|tan|sincos|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh'
names+='|exp|exp2|exp10|expm1|log|log2|log10|log1p|pow|cbrt|hypot|erf|erfc|lgamma|tgamma'
pattern="^(__)?($names)[fl]?(_finite)?(@.*)?$"

found=0
for file in "$@"; do
    [ -f "$file" ] || { echo "FAIL: $file does not exist" >&2; exit 1; }
    listing=$("$nm" -u "$file") || { echo "FAIL: $nm -u $file failed" >&2; exit 1; }
    imports=$(awk -v file="$file" -v pattern="$pattern" '
        /:$/ { member = $0; sub(/:$/, "", member); next }
        $1 == "U" && $2 ~ pattern { print file (member == "" ? "" : "(" member ")") ": " $2 }' <<<"$listing")
    if [ -n "$imports" ]; then
        echo "$imports" >&2
        found=1
    fi
done
[ $found -eq 0 ] || { echo "FAIL: the lines above import the platform's transcendental functions" >&2; exit 1; }
echo "no platform transcendental functions in $# files"
