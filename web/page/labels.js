// ---------------------------------------------------------------- labels.js
// The texts of the page's controls come from the program's one table of
// texts (core/res/labels.def), which the WebAssembly hands over at start.
// A text's "&" marks the access key on Windows; the page shows it without.
let labelTable = {};

function setLabels(table) {
  labelTable = table;
}

function label(name) {
  return (labelTable[name] || '').replace(/&(.)/gs, '$1');
}

// A text with its "%s" replaced, in order, by the values.
function labelWith(name, ...values) {
  let next = 0;
  return label(name).replace(/%s/g, () => String(values[next++] ?? ''));
}

// Fills the labels of a part of the page: `data-label` gives an element its
// text, `data-title` a button its accessible name and tooltip.
function fillLabels(root) {
  for (const element of root.querySelectorAll('[data-label]')) {
    element.textContent = label(element.dataset.label);
  }
  for (const element of root.querySelectorAll('[data-title]')) {
    const text = label(element.dataset.title);
    element.setAttribute('aria-label', text);
    element.title = text;
  }
}
