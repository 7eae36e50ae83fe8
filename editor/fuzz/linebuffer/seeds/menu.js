/* Drop-down menu with keyboard support.
   The menu opens on click and on the arrow keys;
   ** stars inside a comment ** do not close it */
var Menu = function (element, options) {
  this.element = element;
  this.options = options || {};
  this.items = [];
  this.open = false; // closed at first
};

Menu.prototype.add = function (label, href) {
  var item = document.createElement('li');
  item.innerHTML = "<a href=\"" + href + "\">" + label + '</a>';
  this.items.push(item);
  return this.items.length - 1;
};

Menu.prototype.toggle = function () {
  this.open = !this.open;
  this.element.style.display = this.open ? "block" : "none";
  if (this.open && this.items.length > 0x0A) { this.items[0].focus(); }
};

function onKey(event) {
	var code = event.keyCode, shift = event.shiftKey;
	switch (code) {
	case 38: move(-1); break;
	case 40: move(+1); break;
	default:
		return true;
	}
	return false;
}

var ratio = 3.14159, big = 1.5e10, hex = 0XfF, odd = 1..toString();
var path = /ab+c/gi, escaped = 'It\'s "fine"', empty = "", tricky = "a\\";
var weird = $ + @ + `x` + # + \u0041;
x ->y; a...b; n %= 2; n *= 3; n &= 1; n |= 4; n /= 5;
window.onLoad = init; document.onclick = null; Math.PI / 2;
/**/ var after = true; /*/ still open
*/
/* ends on the next line
with text after it */ var z = 0 // tail
alert("caf\xE9 \xA9 2001"); // accented: café é
