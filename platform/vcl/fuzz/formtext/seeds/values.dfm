object F: TForm
  Caption = 'a'#13'b'
  Items.Strings = (
    'x')
  Data = {
    0A0B}
  Set = [a, b]
  Num = -1.5E+003
  W = #1055#1088
  Col = <
    item
      A = 1
    end>
  object C: TButton
  end
end
