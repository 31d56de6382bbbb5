#!/bin/sh
# Seeds of the layout target too large to keep in the sources, made in the
# working corpus: a 300 KB line without a break opportunity, a minified JSON
# line and a base64 line of the same size. The fuzzer grows them up to 1 MB;
# larger seeds would leave the sanitizers' memory near the 2 GB limit.
set -e
head -c 300000 /dev/zero | tr '\0' x > long_line
yes '{"key":[1,2.5,"text"],"name":"value"},' | head -c 300000 | tr -d '\n' > minified.json
head -c 225000 /dev/zero | base64 -w 0 > base64_line
# Keys typed (\005) in a base64 line long enough to be laid out in pieces.
{ printf 'first\n'; head -c 12000 /dev/zero | base64 -w 0; printf '\005'; head -c 12000 /dev/zero | base64 -w 0
  printf '\005\nlast\005'; } > keys_in_long_line
