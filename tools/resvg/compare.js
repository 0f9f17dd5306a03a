#!/usr/bin/env node
// Compares our engine's renderings with resvg's rendering of the same SVG at the same size.
//
//   node compare.js [--diff-dir DIR] [--known FILE] [--only NAME] [--reference resvg|rsvg]
//                   SVG_DIR OURS_DIR SCALE
//
// For every NAME.svg in SVG_DIR, OURS_DIR/NAME.pam (straight RGBA, from svgrender) is compared
// with resvg's picture fitted to the same width (or, as a second opinion, rsvg-convert's).
//
// Metric, on premultiplied RGBA with channels 0..255:
//   - a pixel differs when some channel differs by more than TOLERANCE from resvg's pixel, and
//     the difference is not explained by antialiasing:
//       * neither resvg's picture has a pixel within TOLERANCE of ours in the 3 x 3
//         neighbourhood, nor ours has one within TOLERANCE of resvg's (an edge drawn half a
//         pixel off, or an edge between two colours covered differently), and
//       * it is not a coverage-only difference on an edge: resvg's pixel partly covered (alpha
//         strictly between 0 and 255, and off from a neighbour's by more than TOLERANCE) while
//         ours is empty or has the same colour (straight RGB within TOLERANCE). Wine's GDI+
//         does not antialias, so its edges are all-or-nothing;
//   - "bad" = share of differing pixels; "mean" = mean absolute channel difference over all
//     pixels, reported only (it grows with the number of aliased edges).
// A file passes when bad <= MAX_BAD. Files listed in the known-differences file
// (NAME: reason) are reported but do not fail: the engine's fixed behaviour differs there.
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const TOLERANCE = 32;
const MAX_BAD = 0.005;

let Resvg;
try {
    ({Resvg} = require('@resvg/resvg-js'));
} catch (e) {
    console.error('compare: the resvg reference is not installed; run tools/resvg/install');
    process.exit(2);
}

function readPam(file) {
    const data = fs.readFileSync(file);
    const end = data.indexOf('ENDHDR\n');
    if (end < 0) throw new Error(`${file}: not a PAM file`);
    const header = data.subarray(0, end).toString('latin1');
    const field = (name) => Number((header.match(new RegExp(`${name} (\\d+)`)) || [])[1]);
    const width = field('WIDTH'), height = field('HEIGHT');
    const pixels = data.subarray(end + 7, end + 7 + width * height * 4);
    if (pixels.length !== width * height * 4) throw new Error(`${file}: truncated`);
    return {width, height, pixels};
}

// Decodes the 8-bit RGB or RGBA, non-interlaced PNG that rsvg-convert writes, into RGBA.
function decodePng(data) {
    let offset = 8, width = 0, height = 0, channels = 4;
    const idat = [];
    while (offset < data.length) {
        const length = data.readUInt32BE(offset);
        const type = data.toString('latin1', offset + 4, offset + 8);
        const body = data.subarray(offset + 8, offset + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            if (body[8] !== 8 || (body[9] !== 6 && body[9] !== 2) || body[12] !== 0)
                throw new Error('rsvg-convert wrote a PNG other than 8-bit RGB or RGBA');
            channels = body[9] === 6 ? 4 : 3;
        } else if (type === 'IDAT') {
            idat.push(body);
        }
        offset += 12 + length;
    }
    const raw = zlib.inflateSync(Buffer.concat(idat));
    const stride = width * channels;
    const rows = new Uint8Array(stride * height);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)];
        const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let x = 0; x < stride; x++) {
            const left = x >= channels ? rows[y * stride + x - channels] : 0;
            const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
            const upLeft = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
            let predictor = 0;
            if (filter === 1) predictor = left;
            else if (filter === 2) predictor = up;
            else if (filter === 3) predictor = (left + up) >> 1;
            else if (filter === 4) {
                const p = left + up - upLeft;
                const pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
                predictor = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
            }
            rows[y * stride + x] = (line[x] + predictor) & 0xff;
        }
    }
    const pixels = new Uint8Array(width * height * 4);
    for (let i = 0, j = 0; i < pixels.length; i += 4, j += channels) {
        pixels[i] = rows[j];
        pixels[i + 1] = rows[j + 1];
        pixels[i + 2] = rows[j + 2];
        pixels[i + 3] = channels === 4 ? rows[j + 3] : 255;
    }
    return {width, height, pixels};
}

// The reference picture, premultiplied.
function renderReference(reference, svgFile, width, height) {
    if (reference === 'rsvg') {
        const {execFileSync} = require('child_process');
        const png = execFileSync('rsvg-convert', ['-w', String(width), '-h', String(height), svgFile],
                                 {maxBuffer: 64 << 20, timeout: 60000});
        const picture = decodePng(png);
        return {width: picture.width, height: picture.height, pixels: premultiply(picture.pixels)};
    }
    const rendered = new Resvg(fs.readFileSync(svgFile), {fitTo: {mode: 'width', value: width}}).render();
    // resvg hands out premultiplied pixels already.
    return {width: rendered.width, height: rendered.height, pixels: new Uint8Array(rendered.pixels)};
}

function premultiply(pixels) {
    const out = new Uint8Array(pixels.length);
    for (let i = 0; i < pixels.length; i += 4) {
        const a = pixels[i + 3];
        out[i] = Math.round((pixels[i] * a) / 255);
        out[i + 1] = Math.round((pixels[i + 1] * a) / 255);
        out[i + 2] = Math.round((pixels[i + 2] * a) / 255);
        out[i + 3] = a;
    }
    return out;
}

function unpremultiply(pixels) {
    const out = new Uint8Array(pixels.length);
    for (let i = 0; i < pixels.length; i += 4) {
        const a = pixels[i + 3];
        for (let c = 0; c < 3; c++) out[i + c] = a ? Math.min(255, Math.round((pixels[i + c] * 255) / a)) : 0;
        out[i + 3] = a;
    }
    return out;
}

function maxChannelDiff(a, i, b, j) {
    return Math.max(Math.abs(a[i] - b[j]), Math.abs(a[i + 1] - b[j + 1]),
                    Math.abs(a[i + 2] - b[j + 2]), Math.abs(a[i + 3] - b[j + 3]));
}

function matchesNearby(src, i, other, x, y, w, h) {
    for (let dy = -1; dy <= 1; dy++) {
        for (let dx = -1; dx <= 1; dx++) {
            const nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            if (maxChannelDiff(src, i, other, (ny * w + nx) * 4) <= TOLERANCE) return true;
        }
    }
    return false;
}

// resvg's pixel lies on an edge: its coverage differs from a neighbour's.
function onEdge(refStraight, x, y, w, h) {
    const alpha = refStraight[(y * w + x) * 4 + 3];
    for (let dy = -1; dy <= 1; dy++) {
        for (let dx = -1; dx <= 1; dx++) {
            const nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            if (Math.abs(refStraight[(ny * w + nx) * 4 + 3] - alpha) > TOLERANCE) return true;
        }
    }
    return false;
}

function coverageOnly(oursStraight, refStraight, i, x, y, w, h) {
    const refAlpha = refStraight[i + 3];
    if (refAlpha === 0 || refAlpha === 255 || !onEdge(refStraight, x, y, w, h)) return false;
    if (oursStraight[i + 3] === 0) return true;
    return Math.max(Math.abs(oursStraight[i] - refStraight[i]), Math.abs(oursStraight[i + 1] - refStraight[i + 1]),
                    Math.abs(oursStraight[i + 2] - refStraight[i + 2])) <= TOLERANCE;
}

function compare(ours, ref, oursStraight, refStraight, w, h) {
    let bad = 0, sum = 0;
    const mask = new Uint8Array(w * h);
    for (let y = 0; y < h; y++) {
        for (let x = 0; x < w; x++) {
            const i = (y * w + x) * 4;
            for (let c = 0; c < 4; c++) sum += Math.abs(ours[i + c] - ref[i + c]);
            if (maxChannelDiff(ours, i, ref, i) <= TOLERANCE) continue;
            if (matchesNearby(ours, i, ref, x, y, w, h) || matchesNearby(ref, i, ours, x, y, w, h))
                continue;
            if (coverageOnly(oursStraight, refStraight, i, x, y, w, h)) continue;
            bad++;
            mask[y * w + x] = 1;
        }
    }
    return {bad: bad / (w * h), mean: sum / (w * h * 4), mask};
}

// A small PNG writer for the side-by-side picture: ours | resvg | differing pixels in red.
function writePng(file, w, h, rgba) {
    const crcTable = new Int32Array(256).map((_, n) => {
        let c = n;
        for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
        return c;
    });
    const crc = (buf) => {
        let c = -1;
        for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
        return (c ^ -1) >>> 0;
    };
    const chunk = (type, body) => {
        const len = Buffer.alloc(4);
        len.writeUInt32BE(body.length);
        const tb = Buffer.concat([Buffer.from(type, 'latin1'), body]);
        const c = Buffer.alloc(4);
        c.writeUInt32BE(crc(tb));
        return Buffer.concat([len, tb, c]);
    };
    const raw = Buffer.alloc((w * 4 + 1) * h);
    for (let y = 0; y < h; y++) {
        raw[y * (w * 4 + 1)] = 0;
        Buffer.from(rgba.buffer, rgba.byteOffset + y * w * 4, w * 4).copy(raw, y * (w * 4 + 1) + 1);
    }
    const ihdr = Buffer.alloc(13);
    ihdr.writeUInt32BE(w, 0);
    ihdr.writeUInt32BE(h, 4);
    ihdr.set([8, 6, 0, 0, 0], 8);
    fs.writeFileSync(file, Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]),
                                          chunk('IHDR', ihdr), chunk('IDAT', zlib.deflateSync(raw)),
                                          chunk('IEND', Buffer.alloc(0))]));
}

function sideBySide(file, ours, ref, mask, w, h) {
    const W = w * 3;
    const out = new Uint8Array(W * h * 4);
    for (let y = 0; y < h; y++) {
        for (let x = 0; x < w; x++) {
            const i = (y * w + x) * 4;
            out.set(ours.subarray(i, i + 4), (y * W + x) * 4);
            out.set(ref.subarray(i, i + 4), (y * W + w + x) * 4);
            out.set(mask[y * w + x] ? [255, 0, 0, 255] : [0, 0, 0, 40], (y * W + 2 * w + x) * 4);
        }
    }
    writePng(file, W, h, out);
}

function main() {
    const args = process.argv.slice(2);
    const option = (name) => {
        const at = args.indexOf(name);
        if (at < 0) return undefined;
        const value = args[at + 1];
        args.splice(at, 2);
        return value;
    };
    const diffDir = option('--diff-dir');
    const knownFile = option('--known');
    const only = option('--only');
    const reference = option('--reference') || 'resvg';
    if (args.length !== 3) {
        console.error('usage: compare.js [--diff-dir DIR] [--known FILE] [--only NAME] SVG_DIR OURS_DIR SCALE');
        process.exit(2);
    }
    const [svgDir, oursDir, scaleText] = args;
    const scale = Number(scaleText);
    const known = new Map();
    if (knownFile) {
        for (const line of fs.readFileSync(knownFile, 'utf8').split('\n')) {
            const m = line.match(/^([\w.-]+):\s*(.*)$/);
            if (m) known.set(m[1], m[2]);
        }
    }
    const names = fs.readdirSync(svgDir).filter((f) => f.endsWith('.svg')).map((f) => f.slice(0, -4))
                      .filter((n) => !only || n === only).sort();
    if (names.length === 0) {
        console.error(`compare: no SVG file${only ? ` named ${only}` : ''} in ${svgDir}`);
        process.exit(2);
    }
    let failed = 0, passed = 0;
    const rows = [];
    for (const name of names) {
        const oursFile = path.join(oursDir, `${name}.pam`);
        if (!fs.existsSync(oursFile)) {
            console.log(`FAIL ${name}: our rendering ${oursFile} is missing`);
            failed++;
            continue;
        }
        const ours = readPam(oursFile);
        const width = ours.width;
        const rendered = renderReference(reference, path.join(svgDir, `${name}.svg`), width, ours.height);
        if (rendered.width !== ours.width || rendered.height !== ours.height) {
            console.log(`FAIL ${name}: sizes differ, ours ${ours.width}x${ours.height}, ${reference} ` +
                        `${rendered.width}x${rendered.height}`);
            failed++;
            continue;
        }
        const a = premultiply(ours.pixels), b = rendered.pixels;
        const refStraight = unpremultiply(b);
        const result = compare(a, b, ours.pixels, refStraight, width, ours.height);
        if (diffDir) {
            fs.mkdirSync(diffDir, {recursive: true});
            sideBySide(path.join(diffDir, `${name}.png`), ours.pixels, refStraight,
                       result.mask, width, ours.height);
        }
        const within = result.bad <= MAX_BAD;
        // A listed file that matches after all means the list (or the metric) has gone stale.
        const verdict = known.has(name) ? (within ? 'FAIL' : 'known') : within ? 'ok' : 'FAIL';
        if (verdict === 'FAIL') failed++;
        else passed++;
        rows.push({name, verdict, ...result});
        const note = !known.has(name) ? ''
                   : within ? '  (listed as a known difference but matches: update the list)'
                            : `  (${known.get(name)})`;
        console.log(`${verdict.padEnd(5)} ${name.padEnd(28)} bad ${(result.bad * 100).toFixed(3).padStart(7)}%` +
                    `  mean ${result.mean.toFixed(2).padStart(6)}${note}`);
    }
    if (rows.length > 1) {
        const worst = rows.filter((r) => r.verdict === 'ok').sort((x, y) => y.bad - x.bad || y.mean - x.mean)[0];
        if (worst)
            console.log(`worst passing file: ${worst.name} (bad ${(worst.bad * 100).toFixed(3)}%, ` +
                        `mean ${worst.mean.toFixed(2)})`);
        console.log(`thresholds: tolerance ${TOLERANCE}/255 per channel with a 3x3 antialiasing ` +
                    `and coverage allowance, bad <= ${MAX_BAD * 100}%; scale ${scale}`);
    }
    console.log(`reference: ${reference}`);
    console.log(`${passed} passed, ${failed} failed`);
    process.exit(failed ? 1 : 0);
}

main();
