#!/usr/bin/env node
// Writes js_answers.inc: expressions and records with JavaScript's answers,
// which the matcher's test compares with its own (no Node at test time).
//
//   node tests/pattern/make_js_table.js > tests/pattern/js_answers.inc
//   node tests/pattern/make_js_table.js SEED TIMES   (another or a larger draw)
//
// A line: expression, record and answer, separated by tabs. The answer is
// "refused" (a syntax error), "no", or "yes" and then each group: "-" when
// it took no part, else "=" and its text. In the texts "\\" is a backslash
// and "\uHHHH" any character other than printable ASCII. Records are
// matched as the program matches them: the whole record, "." taking every
// character (the "s" flag).
'use strict';

let seed = Number(process.argv[2] || 20140213);
const times = Number(process.argv[3] || 1);
function random(n) {  // a fixed sequence, so that the table is the same each time it is made
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return Math.floor((seed / 2147483648) * n);
}
const pick = (list) => list[random(list.length)];

// Written cases: JavaScript's rules where backtracking matchers differ.
const written = [
  ['(a|ab)(c|bcd)(d*)', ['abcd', 'abcdd']],
  ['(a*)*', ['', 'a', 'aa', 'b']],
  ['(a*)+', ['', 'a', 'aaa']],
  ['(a*?)*', ['', 'aa']],
  ['(?:(a)|b)*', ['ab', 'ba', 'aba', '']],
  ['(?:(a)|(b))+', ['ab', 'ba', 'aab']],
  ['(?:(a)|b|())*', ['ab', 'b', '']],
  ['(a?)??b', ['b', 'ab']],
  ['(a|b)*?(b*)', ['abb', 'bbb']],
  ['(.*?)(\\d+)(.*)', ['ab123cd', '12', 'x']],
  ['(.*)(\\d+)', ['ab123']],
  ['(a+|b+)*c', ['aabbc', 'c', 'abab']],
  ['((a)|(b))*', ['ab', 'aba', 'b']],
  ['(?:a{2,3}){2}', ['aaaa', 'aaaaa', 'aaaaaa', 'aaa', 'aaaaaaa']],
  ['(a{0,2}?)+', ['', 'a', 'aaa']],
  ['(a{2,}?)(a*)', ['aaaa', 'a']],
  ['(?:()|a)*', ['', 'a', 'aa']],
  ['(?:a|())*?', ['', 'a']],
  ['(?:(a)|b)(?:(a)|b)', ['ab', 'ba']],
  ['((a)|b){2}', ['ab', 'ba', 'bb']],
  ['(\\w+)\\s(\\w+)', ['ab cd', 'ab\u00A0cd', 'ab\uFEFFcd', 'ab\u0085cd', 'ab\u2028cd', 'ab\u3000cd', 'ab\u180Ecd']],
  ['\\w+', ['abc_09', '\u00E9', 'a\u00E9']],
  ['\\W', ['\u00E9', 'a', '-']],
  ['\\d+', ['0123456789', '\u0660', '\uFF11']],
  ['\\s*', [' \t\n\v\f\r', '\u1680\u2000\u200A\u2029\u202F\u205F', '\u200B']],
  ['\\S', ['\u00A0', 'x']],
  ['.+', ['a\nb', '\r', '\u2028\u2029', '\uD83D\uDE00']],
  ['.', ['\uD83D\uDE00', '\u00E9']],
  ['a\\b.*', ['a b', 'ab', 'a\u00E9']],
  ['.*\\B.*', ['ab', '\u00E9\u00E9', 'a']],
  ['\\b', ['']],
  ['\\B', ['']],
  ['^a$', ['a']],
  ['a^', ['a']],
  ['$a', ['a']],
  ['(^a|b)+', ['ab', 'ba']],
  ['[\\d-z]+', ['1-z', 'y', '-']],
  ['[a-\\d]+', ['a-5']],
  ['[\\w-]+', ['a-b']],
  ['[-a]+', ['-a']],
  ['[a-]+', ['-a']],
  ['[^]', ['x', '\n']],
  ['[]', ['', 'a']],
  ['[^a-c\\s]+', ['dx', 'da', 'd e']],
  ['[\\b]', ['\b', 'b']],
  ['[\\-\\]\\\\]+', ['-]\\']],
  ['[.]', ['.', 'a']],
  ['[a-a]', ['a']],
  ['\\x41\\u00e9\\u00E9\\0\\cJ\\cj', ['A\u00E9\u00E9\u0000\n\n']],
  ['\\t\\n\\r\\f\\v', ['\t\n\r\f\v']],
  ['\\.\\*\\+\\?\\(\\)\\[\\]\\{\\}\\|\\^\\$\\/\\-\\\\', ['.*+?()[]{}|^$/-\\']],
  ['\\\u00E9', ['\u00E9']],
  ['a{', ['a{']],
  ['a{1', ['a{1']],
  ['a{1,', ['a{1,']],
  ['a{,2}', ['a{,2}', 'aa']],
  ['a{x}', ['a{x}']],
  ['{', ['{']],
  ['}', ['}']],
  [']', [']']],
  ['x{0}', ['', 'x']],
  ['(x){0}', ['']],
  ['x{2}', ['xx', 'x']],
  ['x{1,}?', ['xxx']],
  ['(x{1,2}?)(x*)', ['xxx']],
  ['a{2,1}', ['a']],
  ['a**', ['a']],
  ['a*??', ['a']],
  ['*', ['']],
  ['+a', ['a']],
  ['?', ['']],
  ['{1}', ['']],
  ['a|*', ['a']],
  ['^*', ['']],
  ['$+', ['']],
  ['\\b*', ['']],
  ['(', ['']],
  [')', ['']],
  ['a)', ['a']],
  ['(?:', ['']],
  ['(?', ['']],
  ['[', ['']],
  ['[a', ['a']],
  ['[b-a]', ['a']],
  ['\\', ['']],
  ['a|', ['a', '']],
  ['|a', ['a', '']],
  ['||', ['']],
  ['()', ['']],
  ['(|a)+', ['a', '']],
  ['(a|)+b', ['aab', 'b']],
  ['(a|b|)*', ['abab', '']],
  ['(?:a|b)*?b', ['abab']],
  ['(a)|b', ['b', 'a']],
  ['(a)|(b)', ['b']],
  ['(a+)+b', ['aaab', 'aaa']],
  ['(a|aa)+c', ['aaac', 'aaa']],
  ['(.*){3}x', ['abx', 'ab']],
  ['(a?){3}a{3}', ['aaa', 'aaaa']],
  ['(?:(a)|(b)|(c))*', ['abc', 'cba', 'aaa']],
  ['(((a)b)?c)*', ['abcc', 'cabc']],
  ['((?:a|b)*?)(b?)', ['aab', 'b']],
  ['(?:x(y)?)*', ['xyx', 'xxy']],
  ['(?:(x)?y)*', ['xyy', 'yxy']],
  ['(a*)*b', ['aab', 'b']],
  ['(?:a*)*?b', ['aab']],
  ['(a*){2,}', ['', 'aa']],
  ['(a*){2,3}', ['', 'a', 'aaa']],
  ['(a*?){2,3}?', ['', 'a']],
  ['(?:(a)*){2}', ['a', 'aa', '']],
  ['(\\b|a)*', ['a', 'aa']],
  ['(?:\\b)*a', ['a']],
  ['(?:$|a)*', ['a', '']],
];

// Generated expressions from the supported syntax.
const atoms = ['a', 'b', '.', '[ab]', '[^a]', '[a-c]', '\\d', '\\w', '\\s', '\\W', ' ', '1', '-', '\\-', '[\\d_]'];
const assertions = ['^', '$', '\\b', '\\B'];
const quantifiers = ['*', '+', '?', '{2}', '{0,2}', '{1,}', '{0}', '{1,3}'];
function expression(depth) {
  const alternatives = random(4) === 0 ? 2 + random(2) : 1;
  const parts = [];
  for (let a = 0; a < alternatives; ++a) {
    let text = '';
    const terms = random(4);
    for (let t = 0; t < terms; ++t) {
      if (random(8) === 0) {
        text += pick(assertions);
        continue;
      }
      let atom = pick(atoms);
      if (depth < 3 && random(3) === 0) atom = (random(3) === 0 ? '(?:' : '(') + expression(depth + 1) + ')';
      if (random(2) === 0) atom += pick(quantifiers) + (random(3) === 0 ? '?' : '');
      text += atom;
    }
    parts.push(text);
  }
  return parts.join('|');
}
// Token soup: most of it is not a valid expression, to compare the refusals.
const tokens = ['a', 'b', '(', ')', '(?:', '[', ']', '[^', '{', '}', '{1}', '{1,}', '{0,2}', '{2,1}', '|', '*', '+', '?',
                '^', '$', '.', '-', ',', '1', '\\d', '\\w', '\\b', '\\s', '\\.', '\\-', '\\x41', '\\u0041'];
function soup() {
  let text = '';
  for (let n = 1 + random(7); n > 0; --n) text += pick(tokens);
  return text;
}
function record(chars, longest) {
  let text = '';
  for (let n = random(longest + 1); n > 0; --n) text += pick(chars);
  return text;
}

function escape(text) {
  let out = '';
  for (const unit of Array.from({length: text.length}, (_, i) => text.charCodeAt(i))) {
    if (unit === 0x5C) out += '\\\\';
    else if (unit >= 0x20 && unit < 0x7F) out += String.fromCharCode(unit);
    else out += '\\u' + unit.toString(16).toUpperCase().padStart(4, '0');
  }
  return out;
}
function answer(expression, text) {
  try {
    new RegExp(expression, 's');
  } catch (e) {
    return 'refused';
  }
  const found = new RegExp('^(?:' + expression + ')$', 's').exec(text);
  if (!found) return 'no';
  return ['yes', ...found.map((g) => (g === undefined ? '-' : '=' + escape(g)))].join('\t');
}

const cases = written.map(([e, records]) => [e, records]);
for (let n = 0; n < 1200 * times; ++n) {
  const e = expression(0);
  cases.push([e, [0, 1, 2, 3, 4].map(() => record(['a', 'b', ' ', '1', '-'], 4))]);
}
for (let n = 0; n < 800 * times; ++n) {
  cases.push([soup(), [0, 1, 2].map(() => record(['a', 'b', '1', '-', '{', '}', ',', '.', 'A', '\\'], 5))]);
}
const lines = [];
for (const [e, records] of cases) {
  for (const r of records) lines.push(escape(e) + '\t' + escape(r) + '\t' + answer(e, r));
}
process.stdout.write('// Made by make_js_table.js with Node ' + process.version + '; do not edit.\n' +
                     'R"TABLE(\n' + lines.join('\n') + '\n)TABLE"\n');
