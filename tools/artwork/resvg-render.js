// Renders SVG files to PNG with resvg (the reference renderer pinned under
// tools/resvg). Usage: node resvg-render.js in.svg out.png width [in out width ...]
'use strict';
const fs = require('fs');
const path = require('path');
const { Resvg } = require(path.join(__dirname, '..', 'resvg', 'node_modules', '@resvg', 'resvg-js'));

const args = process.argv.slice(2);
if (args.length === 0 || args.length % 3 !== 0) {
  console.error('usage: resvg-render.js in.svg out.png width [...]');
  process.exit(2);
}
for (let i = 0; i < args.length; i += 3) {
  const svg = fs.readFileSync(args[i]);
  const resvg = new Resvg(svg, {
    fitTo: { mode: 'width', value: Number(args[i + 2]) },
    font: { loadSystemFonts: false },
  });
  fs.writeFileSync(args[i + 1], resvg.render().asPng());
}
