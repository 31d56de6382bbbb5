#!/bin/sh
# Seeds of the layout target too large to keep in the sources, made in the
# working corpus: a 1 MB line without a break opportunity, a minified JSON
# line and a base64 line of the same size.
set -e
head -c 1000000 /dev/zero | tr '\0' x > long_line
yes '{"key":[1,2.5,"text"],"name":"value"},' | head -c 1000000 | tr -d '\n' > minified.json
head -c 750000 /dev/zero | base64 -w 0 > base64_line
